#pragma once

#include "sat/ClueAutomaton.h"
#include "solver/LineSolver.h"
#include "solver/PuzzleClues.h"

#include <climits>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

// The puzzle as clauses over Boolean variables, for a CDCL solver, built from
// what the line logic left open.
//
// Every open cell has a variable for each colour it may still take (one-hot,
// at least one and at most one), or a single one when two colours are left;
// a settled cell has none. Every line has, for each of its cells, a variable
// for each state of its clue's automaton (ClueAutomaton.h) that the cell can
// still be read in; the cells and the earliest and latest places of the runs
// prune the rest. Its clauses: each cell is read in some state; a state gives
// its cell the state's colour; a state has one of its successors in the next
// cell and one of its predecessors in the cell before; a colour of a cell is
// given by one of the cell's states of that colour. A walk back from any state
// of the last cell is then an arrangement of the clue, so every model is a
// solution, and every solution gives a model.
//
// Literals are DIMACS numbers: variable v as v, its negation as -v.
class CPuzzleFormula {
public:
    // A literal that is true, or false, whatever the model.
    static constexpr int kTrue = INT_MAX;
    static constexpr int kFalse = -INT_MAX;

    // `cells` are the colours every cell may still take, rows from the top.
    CPuzzleFormula(const PuzzleClues& clues, std::span<const CellColours> cells);

    // False when some line has no arrangement at all, or a clue holds a run
    // that cannot be drawn: the puzzle has no solution.
    bool Consistent() const { return m_consistent; }

    // Receives each clause, without kTrue or kFalse; an empty one is the
    // empty clause.
    using ClauseSink = std::function<void(std::span<const int>)>;

    // Hands every clause to `sink`, the same ones in the same order each
    // time, the clauses of the cells first and then line by line, and asks
    // `stop` before each line: false when it said to stop.
    bool Emit(const ClauseSink& sink, const std::function<bool()>& stop) const;

    // The solved grid, given the value of each variable: rows from the top, 0
    // blank, otherwise the palette entry.
    Picture Read(const std::function<bool(int)>& isTrue) const;

    // The clause that some open cell differs from `picture`; none when the
    // formula rules the picture out already.
    std::optional<std::vector<int>> Excluding(const Picture& picture) const;

private:
    struct Line {
        std::vector<int> cells;
        const LineClue* clue;
    };

    class CClauseBuilder;

    int CellIs(int cell, int colour) const;
    void EmitCell(int cell, CClauseBuilder& clause) const;
    void EmitLine(const Line& line, int& nextVariable, CLineStates& states, CClauseBuilder& clause) const;

    int m_width;
    int m_height;
    std::vector<CellColours> m_cells;
    // The first variable of each cell (0 for a settled cell).
    std::vector<int> m_firstVariable;
    int m_cellVariables = 0;
    std::vector<Line> m_lines;
    bool m_consistent = true;
};
