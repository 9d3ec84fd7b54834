#pragma once

#include "solver/LineSolver.h"
#include "solver/PuzzleClues.h"

#include <cstdint>
#include <span>
#include <vector>

// The automaton that reads a line's cells against its clue, one state for
// every cell of the pattern the clue describes: the blanks before each run (a
// state that repeats), each cell of each run, and the blanks after the last
// run. A line of the clue is a walk through the states that starts at the
// first gap or the first run and ends at the last gap or the end of the last
// run, one state a cell. Each state gives its cell one colour, 0 in the gaps.
//
// State 0 is the gap before run 0; run j's cells follow it, then the gap before
// run j + 1, and the gap after the last run is the last state. A gap between
// runs of the same colour holds one blank at least; between runs of different
// colours it may be skipped, from the last cell of one run straight to the
// first of the next.
class CClueAutomaton {
public:
    explicit CClueAutomaton(std::span<const ClueRun> runs);

    int StateCount() const { return static_cast<int>(m_colour.size()); }
    std::uint8_t Colour(int state) const { return m_colour[state]; }
    bool IsGap(int state) const { return m_colour[state] == 0; }

    // The states that may come a cell later: the gap itself, the next state,
    // and the first cell of the next run where its gap may be skipped.
    template <typename Visit>
    void ForEachSuccessor(int state, Visit visit) const
    {
        if (IsGap(state))
            visit(state);
        if (state + 1 < StateCount())
            visit(state + 1);
        if (m_skipsGap[state])
            visit(state + 2);
    }

    // The states that may come a cell earlier.
    template <typename Visit>
    void ForEachPredecessor(int state, Visit visit) const
    {
        if (IsGap(state))
            visit(state);
        if (state > 0)
            visit(state - 1);
        if (state >= 2 && m_skipsGap[state - 2])
            visit(state - 2);
    }

    bool CanStart(int state) const { return state == 0 || (state == 1 && StateCount() > 1); }
    bool CanEnd(int state) const { return state == StateCount() - 1 || (state == StateCount() - 2 && state > 0); }

private:
    std::vector<std::uint8_t> m_colour;
    // The last cell of a run whose next run has another colour.
    std::vector<std::uint8_t> m_skipsGap;
};

// The states each cell of a line can be read in: those that some walk through
// the automaton, over colours that every cell allows, gives it. Reckoned from
// the start of the line and from its end, as the line solver reckons its
// placements, so what line logic knows about the cells prunes the states, and
// so do the earliest and latest places of every run.
class CLineStates {
public:
    // False when no walk fits the cells: the line has no arrangement.
    bool Reckon(const CClueAutomaton& automaton, std::span<const CellColours> cells);

    int StateCount() const { return m_stateCount; }
    bool Possible(int cell, int state) const { return Test(m_possible, cell, state); }

    template <typename Visit>
    void ForEachPossible(int cell, Visit visit) const
    {
        for (int word = 0; word < m_words; ++word) {
            for (std::uint64_t bits = m_possible[cell * m_words + word]; bits != 0; bits &= bits - 1)
                visit(word * 64 + std::countr_zero(bits));
        }
    }

private:
    bool Test(const std::vector<std::uint64_t>& table, int cell, int state) const
    {
        return (table[cell * m_words + (state >> 6)] >> (state & 63) & 1) != 0;
    }
    void Set(std::vector<std::uint64_t>& table, int cell, int state)
    {
        table[cell * m_words + (state >> 6)] |= std::uint64_t{1} << (state & 63);
    }

    int m_stateCount = 0;
    int m_words = 0;
    std::vector<std::uint64_t> m_reached;
    std::vector<std::uint64_t> m_possible;
};
