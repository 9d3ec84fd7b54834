#pragma once

#include "solver/GridState.h"

#include <cstdint>
#include <vector>

// Depth-first search over the cells that line logic leaves open, with probing
// at every step: each open cell next to a known one is tried in each of its
// colours; a colour whose line logic ends in a contradiction is struck out, and
// a cell that every surviving colour narrows alike is narrowed. When probing
// finds nothing more, the search branches on the cell whose probes changed the
// most cells, in its least telling colour and its most telling one alike.
//
// Finding a first solution is heavy-tailed: one early wrong turn can hide a
// solution behind a subtree that takes ages to refute. So the first solution is
// looked for in runs with a growing budget of work, each trying colours in
// another (fixed) order; the search for a second one, or for the proof that
// there is none, is one complete run that follows the first solution, so that
// it meets the solutions nearest to it first.
//
// A run keeps one frame per branch and the grid's trail, nothing else, so its
// memory stays within a few bytes a cell times 15, whatever it meets. The same
// clues always take the same path and find the same solutions.
class CSearch {
public:
    enum class Result { Found, Exhausted, BudgetSpent, OutOfTime };

    explicit CSearch(CGridState& state);

    // Probes the state the line logic left until probing learns nothing more.
    // Called once, before the runs, which all start from what it leaves.
    CGridState::Outcome SettleRoot();

    // Looks for any solution, trying colours in the order that the run number
    // chooses; gives up when it has solved `budget` lines.
    Result FindSolution(int run, std::int64_t budget, Picture& found);
    // Looks for a solution other than `known`; Exhausted means there is none.
    Result FindAnother(const Picture& known, Picture& found);

private:
    struct Frame {
        std::int32_t cell;
        CellColours untried;
        CellColours first;
        std::size_t mark;
    };
    struct Order {
        const Picture* guide;
        int run;
    };
    struct Choice {
        int cell = -1;
        CellColours gentlest = 0; // the colour whose probe changed the fewest cells
    };

    Result Explore(const Order& order, std::int64_t budget, const Picture* unlike, Picture& found);
    CellColours FirstColour(const Order& order, const Choice& choice) const;
    bool TakeNextBranch();
    CGridState::Outcome Settle();
    CGridState::Outcome Probe();
    CGridState::Outcome ProbeCell(int cell, bool& progress);
    CGridState::Outcome TryColour(int cell, CellColours colour, int& changed);
    bool NextToKnown(int cell) const;
    Choice ChooseCell() const;
    int MostConstrainedCell() const;

    CGridState& m_state;
    std::vector<Frame> m_frames;
    // Per cell, for merging the probes of one cell: the colours each cell kept
    // across the probes that succeeded, and in how many of them it changed.
    std::vector<CellColours> m_mergedColours;
    std::vector<int> m_changedIn;
    std::vector<std::uint64_t> m_seenInProbe;
    std::vector<std::uint64_t> m_seenInCell;
    std::vector<int> m_touched;
    std::uint64_t m_probeSerial = 0;
    std::uint64_t m_cellSerial = 0;
    // The cell of the last sweep that the search should branch on.
    Choice m_bestProbed;
    std::int64_t m_bestProbeScore = -1;
    Choice m_rootBestProbed;
};
