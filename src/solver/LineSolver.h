#pragma once

#include "solver/LineBits.h"
#include "solver/PuzzleClues.h"

#include <array>
#include <cstdint>
#include <span>
#include <vector>

// The colours a cell may still take: bit 0 blank, bit c palette entry c.
using CellColours = std::uint16_t;
inline constexpr CellColours kBlankBit = 1;

constexpr CellColours ColourBit(int colour)
{
    return static_cast<CellColours>(1u << colour);
}

// Solves lines of up to 64 x Words - 1 cells; see CLineSolver.
template <int Words>
class CSizedLineSolver {
public:
    bool Narrow(std::span<const ClueRun> runs, std::span<CellColours> cells);

private:
    using Bits = CLineBits<Words>;
    // The cells, as sets of positions: where a blank fits, where each colour fits.
    struct Allowed {
        Bits blank;
        std::array<Bits, kPaletteSize> ink;
    };
    // For j runs placed before a position: cell p - 1 is blank (or p is 0);
    // run j - 1 ends at p; and where run j can start, as far as the runs
    // before it go.
    struct Reach {
        std::vector<Bits> afterBlank;
        std::vector<Bits> afterRun;
        std::vector<Bits> starts;
    };

    static bool ReachFromStart(std::span<const ClueRun> runs, const Allowed& allowed, int length, Reach& reach);
    void CollectColours(std::span<const ClueRun> runs, std::span<CellColours> cells) const;

    CellColours m_used = 0; // the colours of the line's runs
    Allowed m_allowed;
    Allowed m_reversedAllowed;
    std::vector<ClueRun> m_reversedRuns;
    Reach m_fromStart;
    Reach m_fromEnd;
};

// Solves one line exactly: every cell keeps just the colours that some
// arrangement of the line's runs, among all that agree with what the cells
// allow, gives it. Reachability over (runs placed, position) is reckoned from
// the start of the line and, as the same reckoning over the reversed line, from
// its end; an arrangement fits where the two meet. Each step handles all
// positions of the line at once as a set of bits, so a line costs a few
// operations on sets of one to four 64-bit words per run. The tables are kept
// between calls.
class CLineSolver {
public:
    // Narrows `cells` in place; false when no arrangement fits them, and then
    // `cells` is left as it was.
    bool Narrow(std::span<const ClueRun> runs, std::span<CellColours> cells);

private:
    CSizedLineSolver<1> m_oneWord;
    CSizedLineSolver<2> m_twoWords;
    CSizedLineSolver<3> m_threeWords;
    CSizedLineSolver<4> m_fourWords;
};
