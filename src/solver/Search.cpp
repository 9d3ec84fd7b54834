#include "solver/Search.h"

#include <algorithm>
#include <bit>
#include <climits>

using Outcome = CGridState::Outcome;

namespace {

CellColours LowestColour(CellColours colours)
{
    return static_cast<CellColours>(colours & (~colours + 1));
}

// The colours before blank, lowest palette entry first.
CellColours NextBranchColour(CellColours untried)
{
    const CellColours inks = untried & ~kBlankBit;
    return LowestColour(inks != 0 ? inks : untried);
}

CellColours NthColour(CellColours colours, int n)
{
    for (; n > 0; --n)
        colours &= static_cast<CellColours>(colours - 1);
    return LowestColour(colours);
}

// A fixed scramble of the run, the cell and the depth, so that each run after
// the first tries colours in an order of its own, the same every time.
std::uint32_t Scramble(int run, int cell, std::size_t depth)
{
    std::uint64_t x = static_cast<std::uint64_t>(run) * 0x9E3779B97F4A7C15u ^
                      static_cast<std::uint64_t>(cell) * 0xC2B2AE3D27D4EB4Fu ^ static_cast<std::uint64_t>(depth);
    x ^= x >> 31;
    x *= 0xBF58476D1CE4E5B9u;
    return static_cast<std::uint32_t>(x >> 32);
}

} // namespace

CSearch::CSearch(CGridState& state)
    : m_state(state)
    , m_mergedColours(static_cast<std::size_t>(state.CellCount()))
    , m_changedIn(static_cast<std::size_t>(state.CellCount()))
    , m_seenInProbe(static_cast<std::size_t>(state.CellCount()))
    , m_seenInCell(static_cast<std::size_t>(state.CellCount()))
{
}

Outcome CSearch::SettleRoot()
{
    const Outcome outcome = Settle();
    m_rootBestProbed = m_bestProbed;
    return outcome;
}

CSearch::Result CSearch::FindSolution(int run, std::int64_t budget, Picture& found)
{
    return Explore({nullptr, run}, budget, nullptr, found);
}

CSearch::Result CSearch::FindAnother(const Picture& known, Picture& found)
{
    return Explore({&known, 0}, INT64_MAX, &known, found);
}

// Depth-first from the settled root, which it returns to before it ends.
CSearch::Result CSearch::Explore(const Order& order, std::int64_t budget, const Picture* unlike, Picture& found)
{
    const std::size_t root = m_state.Mark();
    const std::int64_t lastLineSolve = budget == INT64_MAX ? INT64_MAX : m_state.LineSolves() + budget;
    m_frames.clear();
    m_bestProbed = m_rootBestProbed;
    Outcome outcome = Outcome::Consistent;
    Result result = Result::Exhausted;
    for (;;) {
        if (outcome == Outcome::OutOfTime) {
            result = Result::OutOfTime;
            break;
        }
        if (outcome == Outcome::Consistent && m_state.Solved()) {
            found = m_state.ToPicture();
            if (!unlike || !std::ranges::equal(found.Items(), unlike->Items())) {
                result = Result::Found;
                break;
            }
        } else if (outcome == Outcome::Consistent) {
            if (m_state.LineSolves() > lastLineSolve) {
                result = Result::BudgetSpent;
                break;
            }
            const Choice choice = ChooseCell();
            m_frames.push_back({choice.cell, m_state.Colours(choice.cell), FirstColour(order, choice), m_state.Mark()});
        }
        if (!TakeNextBranch())
            break;
        outcome = Settle();
    }
    m_state.UndoTo(root);
    return result;
}

// Following a known solution; else the colour that constrains the least, as
// far as the probes tell, and blank without them; later runs scramble it.
CellColours CSearch::FirstColour(const Order& order, const Choice& choice) const
{
    if (order.guide) {
        const int width = m_state.Width();
        return ColourBit((*order.guide)[choice.cell / width][choice.cell % width]);
    }
    const CellColours colours = m_state.Colours(choice.cell);
    if (order.run > 0)
        return NthColour(colours, static_cast<int>(Scramble(order.run, choice.cell, m_frames.size()) %
                                                    static_cast<std::uint32_t>(std::popcount(colours))));
    return choice.gentlest != 0 ? choice.gentlest : kBlankBit;
}

// Every frame holds at least one colour not yet tried; the last one needs no
// frame, since the frame before it returns to an earlier state anyway.
bool CSearch::TakeNextBranch()
{
    if (m_frames.empty())
        return false;
    Frame& frame = m_frames.back();
    m_state.UndoTo(frame.mark);
    const CellColours colour = (frame.first & frame.untried) != 0 ? frame.first : NextBranchColour(frame.untried);
    const int cell = frame.cell;
    frame.untried &= static_cast<CellColours>(~colour);
    if (frame.untried == 0)
        m_frames.pop_back();
    m_state.Restrict(cell, colour);
    return true;
}

Outcome CSearch::Settle()
{
    m_bestProbed = {};
    const Outcome outcome = m_state.Propagate();
    if (outcome != Outcome::Consistent || m_state.Solved())
        return outcome;
    return Probe();
}

// Sweeps until a sweep learns nothing; that last sweep's probes then say which
// cell to branch on.
Outcome CSearch::Probe()
{
    bool progress = true;
    while (progress && !m_state.Solved()) {
        progress = false;
        m_bestProbed = {};
        m_bestProbeScore = -1;
        for (int cell = 0; cell < m_state.CellCount(); ++cell) {
            if (CGridState::Known(m_state.Colours(cell)) || !NextToKnown(cell))
                continue;
            const Outcome outcome = ProbeCell(cell, progress);
            if (outcome != Outcome::Consistent)
                return outcome;
        }
    }
    return Outcome::Consistent;
}

// Every solution gives the cell one of its colours, and so lies within what
// that colour's probe left; a cell that changed in every surviving probe can
// keep only the colours some probe left it.
Outcome CSearch::ProbeCell(int cell, bool& progress)
{
    ++m_cellSerial;
    m_touched.clear();
    int successes = 0;
    int leastChanged = INT_MAX;
    int mostChanged = 0;
    CellColours gentlest = 0;
    for (CellColours untried = m_state.Colours(cell); untried != 0;) {
        const CellColours colour = LowestColour(untried);
        untried &= static_cast<CellColours>(~colour);
        if ((m_state.Colours(cell) & colour) == 0)
            continue;
        int changed = 0;
        const Outcome outcome = TryColour(cell, colour, changed);
        if (outcome == Outcome::OutOfTime)
            return outcome;
        if (outcome == Outcome::Contradiction) {
            progress = true;
            if (!m_state.Restrict(cell, static_cast<CellColours>(~colour)))
                return Outcome::Contradiction;
            if (const Outcome after = m_state.Propagate(); after != Outcome::Consistent)
                return after;
            continue;
        }
        ++successes;
        mostChanged = std::max(mostChanged, changed);
        if (changed < leastChanged) {
            leastChanged = changed;
            gentlest = colour;
        }
    }
    if (successes == 0)
        return Outcome::Consistent;
    bool narrowed = false;
    for (const int touched : m_touched) {
        const CellColours kept = m_state.Colours(touched) & m_mergedColours[touched];
        if (m_changedIn[touched] != successes || kept == m_state.Colours(touched))
            continue;
        if (!m_state.Restrict(touched, kept))
            return Outcome::Contradiction;
        narrowed = true;
    }
    if (narrowed) {
        progress = true;
        return m_state.Propagate();
    }
    // Both ways of the branch should settle much: a cell whose every colour
    // tells a lot makes a small tree.
    const std::int64_t score = std::int64_t{leastChanged + 1} * (mostChanged + 1);
    if (!CGridState::Known(m_state.Colours(cell)) && score > m_bestProbeScore) {
        m_bestProbed = {cell, gentlest};
        m_bestProbeScore = score;
    }
    return Outcome::Consistent;
}

// Gives the cell one colour, runs the line logic and notes what it changed,
// then puts everything back.
Outcome CSearch::TryColour(int cell, CellColours colour, int& changed)
{
    const std::size_t mark = m_state.Mark();
    ++m_probeSerial;
    m_state.Restrict(cell, colour);
    const Outcome outcome = m_state.Propagate();
    if (outcome == Outcome::Consistent) {
        for (const CGridState::Change& change : m_state.ChangesSince(mark)) {
            const int other = change.cell;
            if (m_seenInProbe[other] == m_probeSerial)
                continue;
            m_seenInProbe[other] = m_probeSerial;
            ++changed;
            if (m_seenInCell[other] != m_cellSerial) {
                m_seenInCell[other] = m_cellSerial;
                m_mergedColours[other] = 0;
                m_changedIn[other] = 0;
                m_touched.push_back(other);
            }
            m_mergedColours[other] |= m_state.Colours(other);
            ++m_changedIn[other];
        }
    }
    m_state.UndoTo(mark);
    return outcome;
}

bool CSearch::NextToKnown(int cell) const
{
    const int width = m_state.Width();
    const int row = cell / width;
    const int column = cell % width;
    const auto known = [&](int other) { return CGridState::Known(m_state.Colours(other)); };
    return (column > 0 && known(cell - 1)) || (column + 1 < width && known(cell + 1)) ||
           (row > 0 && known(cell - width)) || (row + 1 < m_state.Height() && known(cell + width));
}

CSearch::Choice CSearch::ChooseCell() const
{
    if (m_bestProbed.cell >= 0 && !CGridState::Known(m_state.Colours(m_bestProbed.cell)))
        return m_bestProbed;
    return {MostConstrainedCell(), 0};
}

// Without probes to go by: the open cell with the fewest colours left, and of
// those the one whose row and column are most nearly known.
int CSearch::MostConstrainedCell() const
{
    const int width = m_state.Width();
    std::vector<int> knownInRow(static_cast<std::size_t>(m_state.Height()));
    std::vector<int> knownInColumn(static_cast<std::size_t>(width));
    for (int cell = 0; cell < m_state.CellCount(); ++cell) {
        const int known = CGridState::Known(m_state.Colours(cell)) ? 1 : 0;
        knownInRow[cell / width] += known;
        knownInColumn[cell % width] += known;
    }
    int best = -1;
    int bestColours = INT_MAX;
    int bestKnown = -1;
    for (int cell = 0; cell < m_state.CellCount(); ++cell) {
        const CellColours colours = m_state.Colours(cell);
        if (CGridState::Known(colours))
            continue;
        const int count = std::popcount(colours);
        const int known = knownInRow[cell / width] + knownInColumn[cell % width];
        if (count < bestColours || (count == bestColours && known > bestKnown)) {
            best = cell;
            bestColours = count;
            bestKnown = known;
        }
    }
    return best;
}
