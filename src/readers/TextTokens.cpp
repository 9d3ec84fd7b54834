#include "readers/TextTokens.h"

#include <algorithm>
#include <array>
#include <limits>

namespace {

// A table of the characters looked for: a search through the set for each
// character of the largest texts took longer than all the rest of reading them.
class CCharacterSet {
public:
    explicit CCharacterSet(std::string_view chars)
    {
        for (const char c : chars)
            Add(c);
    }

    void Add(char c) { m_members[static_cast<unsigned char>(c)] = true; }

    bool Contains(char c) const { return m_members[static_cast<unsigned char>(c)]; }

private:
    std::array<bool, 256> m_members{};
};

std::int64_t SizeOf(std::string_view text)
{
    return static_cast<std::int64_t>(text.size());
}

} // namespace

std::int64_t FindAnyOf(std::string_view text, std::int64_t from, std::string_view chars)
{
    const CCharacterSet wanted(chars);
    for (std::int64_t i = from; i < SizeOf(text) && text[i] != '\0'; ++i) {
        if (wanted.Contains(text[i]))
            return i;
    }
    return -1;
}

// The library's search, then a look for a byte 0 before what it found: a
// comparison at every position cost the .tgp reader most of its time.
std::int64_t FindSequence(std::string_view text, std::int64_t from, std::string_view needle)
{
    if (from >= SizeOf(text))
        return -1;
    const auto start = static_cast<std::size_t>(from);
    const std::size_t found = text.find(needle, start);
    if (found == std::string_view::npos || text.substr(start, found - start).find('\0') != std::string_view::npos)
        return -1;
    return static_cast<std::int64_t>(found);
}

std::string NextToken(std::string_view text, std::string_view delimiters, std::int64_t& position)
{
    // A byte 0 ends a token as a delimiter does.
    CCharacterSet ends(delimiters);
    ends.Add('\0');
    std::int64_t start = position;
    while (start < SizeOf(text) && ends.Contains(text[start]))
        ++start;
    if (start >= SizeOf(text)) {
        position = -1;
        return {};
    }
    std::int64_t end = start;
    while (end < SizeOf(text) && !ends.Contains(text[end]))
        ++end;
    const bool delimiterFollows = end < SizeOf(text) && text[end] != '\0';
    position = delimiterFollows ? end : -1;
    return std::string(text.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start)));
}

std::int32_t LeadingNumber(std::string_view token)
{
    std::size_t i = 0;
    const bool negative = i < token.size() && token[i] == '-';
    if (i < token.size() && (token[i] == '-' || token[i] == '+'))
        ++i;
    std::int64_t magnitude = 0;
    constexpr std::int64_t kBeyondRange = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 2;
    for (; i < token.size() && token[i] >= '0' && token[i] <= '9'; ++i)
        magnitude = std::min(magnitude * 10 + (token[i] - '0'), kBeyondRange);
    const std::int64_t value = negative ? -magnitude : magnitude;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}
