#pragma once

#include "solver/Deadline.h"
#include "solver/LineSolver.h"
#include "solver/PuzzleClues.h"

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

// Every cell's remaining colours, the line logic over them, and a trail of
// every narrowing so that a search can return to any earlier state. A cell
// only ever loses colours, at most 15 times on any one path of a search, so the
// trail never holds more than 15 entries a cell.
class CGridState {
public:
    enum class Outcome { Consistent, Contradiction, OutOfTime };

    struct Change {
        std::int32_t cell;
        CellColours before;
    };

    CGridState(const PuzzleClues& clues, const CDeadline& deadline);

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    int CellCount() const { return m_width * m_height; }
    CellColours Colours(int cell) const { return m_cells[cell]; }
    static bool Known(CellColours colours) { return (colours & (colours - 1)) == 0; }
    int UnknownCells() const { return m_unknownCells; }
    bool Solved() const { return m_unknownCells == 0; }

    // Keeps only the `allowed` colours of the cell and marks its row and column
    // for the line logic; false when none is left.
    bool Restrict(int cell, CellColours allowed);
    // Line logic: solves each marked line, and each line that its changes
    // mark, until no line is marked. Counts the passes over the marked rows and
    // then columns that settled at least one cell, or found a contradiction.
    // The cells that the construction settles (where a row and a column share
    // no colour but the blank) belong to the first pass of the first call.
    Outcome Propagate();
    int Passes() const { return m_passes; }
    // Lines solved so far: the measure of work that search budgets count in.
    std::int64_t LineSolves() const { return m_lineSolves; }
    // The same weighted by what a line costs to solve, its 64-bit words times
    // its runs and one, so that it stands for about the same time whatever the
    // size of the puzzle; and unlike the time, it comes out the same on every
    // run. Calls `action` once, before the first line solve after `work` of
    // it, unless `action` is replaced first.
    void AtWork(std::int64_t work, std::function<void()> action);
    std::int64_t Work() const { return m_work; }

    std::size_t Mark() const { return m_trail.size(); }
    void UndoTo(std::size_t mark);
    std::span<const Change> ChangesSince(std::size_t mark) const;

    // The solved grid: 0 blank, otherwise the palette entry.
    Picture ToPicture() const;

private:
    bool SolveLine(bool isRow, int line);
    int CellAt(bool isRow, int line, int i) const { return isRow ? line * m_width + i : i * m_width + line; }
    void ReachMilestone();
    void Set(int cell, CellColours colours);
    void MarkLine(bool isRow, int line);
    void ClearMarks();

    const PuzzleClues& m_clues;
    const CDeadline& m_deadline;
    int m_width;
    int m_height;
    std::vector<CellColours> m_cells;
    int m_unknownCells = 0;
    bool m_settledBeforeFirstPass = false;
    std::vector<Change> m_trail;
    std::vector<std::uint8_t> m_rowMarked;
    std::vector<std::uint8_t> m_columnMarked;
    int m_markedLines = 0;
    int m_passes = 0;
    std::int64_t m_lineSolves = 0;
    std::int64_t m_work = 0;
    std::int64_t m_milestone = INT64_MAX;
    std::function<void()> m_atMilestone;
    CLineSolver m_lineSolver;
    std::vector<CellColours> m_line;
};
