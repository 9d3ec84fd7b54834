#include "solver/LineSolver.h"

#include <algorithm>
#include <bit>

// Position p is the gap before cell p; a line of n cells has positions 0 to n.

namespace {

// Calls `visit` with each palette entry in `colours`.
template <typename Visit>
void ForEachColour(CellColours colours, Visit visit)
{
    for (unsigned rest = colours; rest != 0; rest &= rest - 1)
        visit(std::countr_zero(rest));
}

} // namespace

bool CLineSolver::Narrow(std::span<const ClueRun> runs, std::span<CellColours> cells)
{
    switch ((cells.size() + 64) / 64) {
    case 1: return m_oneWord.Narrow(runs, cells);
    case 2: return m_twoWords.Narrow(runs, cells);
    case 3: return m_threeWords.Narrow(runs, cells);
    default: return m_fourWords.Narrow(runs, cells);
    }
}

template <int Words>
bool CSizedLineSolver<Words>::Narrow(std::span<const ClueRun> runs, std::span<CellColours> cells)
{
    const int length = static_cast<int>(cells.size());
    m_used = 0;
    for (const ClueRun run : runs) {
        // A run of the background, or of a colour without a palette entry, is
        // never drawn.
        if (run.colour == 0 || run.colour >= kPaletteSize || run.length == 0)
            return false;
        m_used |= ColourBit(run.colour);
    }
    m_allowed.blank = {};
    ForEachColour(m_used, [&](int colour) { m_allowed.ink[colour] = {}; });
    for (int i = 0; i < length; ++i) {
        if ((cells[i] & kBlankBit) != 0)
            m_allowed.blank.Set(i);
        ForEachColour(cells[i] & m_used, [&](int colour) { m_allowed.ink[colour].Set(i); });
    }
    if (!ReachFromStart(runs, m_allowed, length, m_fromStart))
        return false;

    m_reversedRuns.assign(runs.rbegin(), runs.rend());
    m_reversedAllowed.blank = m_allowed.blank.Reversed(length);
    ForEachColour(m_used, [&](int colour) { m_reversedAllowed.ink[colour] = m_allowed.ink[colour].Reversed(length); });
    ReachFromStart(m_reversedRuns, m_reversedAllowed, length, m_fromEnd);
    CollectColours(runs, cells);
    return true;
}

template <int Words>
bool CSizedLineSolver<Words>::ReachFromStart(std::span<const ClueRun> runs, const Allowed& allowed, int length,
                                             Reach& reach)
{
    const int k = static_cast<int>(runs.size());
    reach.afterBlank.resize(k + 1);
    reach.afterRun.assign(k + 1, {});
    reach.starts.resize(k + 1);
    for (int j = 0;; ++j) {
        const Bits seeds = j == 0 ? Bits::Single(0) : reach.afterRun[j];
        reach.afterBlank[j] = allowed.blank.ReachedFrom(seeds).Up(1) | (j == 0 ? seeds : Bits());
        if (j == k)
            break;
        const ClueRun& run = runs[j];
        Bits starts = reach.afterBlank[j];
        // Runs of the same colour need a blank between them; of different colours not.
        if (j > 0 && runs[j - 1].colour != run.colour)
            starts |= reach.afterRun[j];
        starts &= allowed.ink[run.colour].StartsOfStretches(run.length);
        if (!starts.Any())
            return false;
        reach.starts[j] = starts;
        reach.afterRun[j + 1] = starts.Up(run.length);
    }
    return (reach.afterBlank[k] | reach.afterRun[k]).Test(length);
}

// Position p from the end is position n - p from the start, and the first
// n - 1 - i positions from the end lie after cell i.
template <int Words>
void CSizedLineSolver<Words>::CollectColours(std::span<const ClueRun> runs, std::span<CellColours> cells) const
{
    const int length = static_cast<int>(cells.size());
    const int k = static_cast<int>(runs.size());
    Bits blank;
    for (int j = 0; j <= k; ++j)
        blank |= m_fromStart.afterBlank[j].Down(1) &
                 (m_fromEnd.afterBlank[k - j] | m_fromEnd.afterRun[k - j]).Reversed(length);
    std::array<Bits, kPaletteSize> ink{};
    for (int j = 0; j < k; ++j) {
        const int runLength = runs[j].length;
        const Bits placements =
            m_fromStart.starts[j] & m_fromEnd.starts[k - 1 - j].Reversed(length).Down(runLength - 1);
        ink[runs[j].colour] |= placements.Smeared(runLength);
    }
    std::fill(cells.begin(), cells.end(), CellColours{0});
    blank.ForEachSet([&](int i) { cells[i] = kBlankBit; });
    ForEachColour(m_used, [&](int colour) { ink[colour].ForEachSet([&](int i) { cells[i] |= ColourBit(colour); }); });
}

template class CSizedLineSolver<1>;
template class CSizedLineSolver<2>;
template class CSizedLineSolver<3>;
template class CSizedLineSolver<4>;
