#pragma once

#include <bit>
#include <cstdint>

// A set of positions in a line, one bit each, in `Words` 64-bit words: the gaps
// between the cells of a line of up to 64 x Words - 1 cells. Bits beyond what a
// line uses stay 0.
template <int Words>
class CLineBits {
public:
    static constexpr int kBits = 64 * Words;

    static CLineBits Single(int position)
    {
        CLineBits bits;
        bits.Set(position);
        return bits;
    }

    void Set(int position) { m_words[position >> 6] |= std::uint64_t{1} << (position & 63); }
    bool Test(int position) const { return (m_words[position >> 6] >> (position & 63) & 1) != 0; }

    bool Any() const
    {
        std::uint64_t any = 0;
        for (const std::uint64_t word : m_words)
            any |= word;
        return any != 0;
    }

    CLineBits operator&(const CLineBits& other) const { return Combine(other, [](auto a, auto b) { return a & b; }); }
    CLineBits operator|(const CLineBits& other) const { return Combine(other, [](auto a, auto b) { return a | b; }); }
    CLineBits AndNot(const CLineBits& other) const { return Combine(other, [](auto a, auto b) { return a & ~b; }); }
    CLineBits& operator|=(const CLineBits& other) { return *this = *this | other; }
    CLineBits& operator&=(const CLineBits& other) { return *this = *this & other; }

    // Every bit moved `shift` places toward higher positions.
    CLineBits Up(int shift) const
    {
        CLineBits result;
        const int words = shift >> 6;
        const int bits = shift & 63;
        for (int i = Words - 1; i >= words; --i) {
            result.m_words[i] = m_words[i - words] << bits;
            if (bits != 0 && i - words > 0)
                result.m_words[i] |= m_words[i - words - 1] >> (64 - bits);
        }
        return result;
    }

    // Every bit moved `shift` places toward lower positions.
    CLineBits Down(int shift) const
    {
        CLineBits result;
        const int words = shift >> 6;
        const int bits = shift & 63;
        for (int i = 0; i + words < Words; ++i) {
            result.m_words[i] = m_words[i + words] >> bits;
            if (bits != 0 && i + words + 1 < Words)
                result.m_words[i] |= m_words[i + words + 1] << (64 - bits);
        }
        return result;
    }

    // The sum as one number of 64 x Words bits; a carry out of the top is lost.
    CLineBits Plus(const CLineBits& other) const
    {
        CLineBits result;
        std::uint64_t carry = 0;
        for (int i = 0; i < Words; ++i) {
            const std::uint64_t sum = m_words[i] + other.m_words[i];
            result.m_words[i] = sum + carry;
            carry = (sum < m_words[i] || result.m_words[i] < sum) ? 1 : 0;
        }
        return result;
    }

    // Position i takes the bit of position count - 1 - i, for i below count.
    CLineBits Reversed(int count) const
    {
        CLineBits whole;
        for (int i = 0; i < Words; ++i)
            whole.m_words[Words - 1 - i] = ReversedWord(m_words[i]);
        return whole.Down(kBits - count);
    }

    // The positions from which `length` consecutive positions are all set.
    // Doubling: after each step a set bit says that a stretch of the length
    // reached so far starts there.
    CLineBits StartsOfStretches(int length) const
    {
        CLineBits starts = *this;
        int reached = 1;
        for (; reached * 2 <= length; reached *= 2)
            starts &= starts.Down(reached);
        return reached < length ? starts & starts.Down(length - reached) : starts;
    }

    // The positions less than `length` places above a set one.
    CLineBits Smeared(int length) const
    {
        CLineBits covered = *this;
        int reached = 1;
        for (; reached * 2 <= length; reached *= 2)
            covered |= covered.Up(reached);
        return reached < length ? covered | covered.Up(length - reached) : covered;
    }

    // What a walk over set positions reaches from `seeds`: each set seed and
    // the set positions that follow it without a gap. Adding the seeds carries
    // each one's bit up through the stretch it stands in, clearing the stretch
    // from its lowest seed up; the seeds that the carry passed over are put back.
    CLineBits ReachedFrom(const CLineBits& seeds) const
    {
        const CLineBits start = seeds & *this;
        return AndNot(Plus(start)) | start;
    }

    // Calls `visit` with each set position, lowest first.
    template <typename Visit>
    void ForEachSet(Visit visit) const
    {
        for (int i = 0; i < Words; ++i) {
            for (std::uint64_t word = m_words[i]; word != 0; word &= word - 1)
                visit(i * 64 + std::countr_zero(word));
        }
    }

private:
    template <typename Operation>
    CLineBits Combine(const CLineBits& other, Operation operation) const
    {
        CLineBits result;
        for (int i = 0; i < Words; ++i)
            result.m_words[i] = operation(m_words[i], other.m_words[i]);
        return result;
    }

    static std::uint64_t ReversedWord(std::uint64_t x)
    {
        x = (x >> 1 & 0x5555555555555555u) | (x & 0x5555555555555555u) << 1;
        x = (x >> 2 & 0x3333333333333333u) | (x & 0x3333333333333333u) << 2;
        x = (x >> 4 & 0x0F0F0F0F0F0F0F0Fu) | (x & 0x0F0F0F0F0F0F0F0Fu) << 4;
        x = (x >> 8 & 0x00FF00FF00FF00FFu) | (x & 0x00FF00FF00FF00FFu) << 8;
        x = (x >> 16 & 0x0000FFFF0000FFFFu) | (x & 0x0000FFFF0000FFFFu) << 16;
        return x >> 32 | x << 32;
    }

    std::uint64_t m_words[Words]{};
};
