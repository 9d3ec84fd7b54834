#pragma once

#include "model/TessGrid.h"
#include "solver/Deadline.h"
#include "solver/PuzzleClues.h"

#include <vector>

// Whether a puzzle's clues have no solution, exactly one, or more, and whether
// line-by-line logic alone finds it. Reads the clue lists of a loaded model
// (see PuzzleClues.h for what they mean) and writes nothing into it.

enum class SolveAnswer {
    NoSolution,
    Unique,
    Several,
    // The time limit came first; nothing is claimed.
    Undecided,
};

enum class LineLogicVerdict {
    // Solving each line as far as its clue and the known cells force it,
    // again and again until nothing changes, fills the whole grid.
    Solves,
    // It stops with cells still open: the puzzle needs search.
    Stalls,
    // It runs into a line that no arrangement fits: there is no solution.
    ProvesNoSolution,
    // The time limit came first.
    Unfinished,
};

// What decided the answer: line logic alone, the search, or the back end
// (src/sat), which runs beside the search once the search has done a little.
enum class SolveMethod {
    LineLogic,
    Search,
    BackEnd,
};

struct SolveReport {
    SolveAnswer answer = SolveAnswer::Undecided;
    SolveMethod solvedBy = SolveMethod::LineLogic;
    LineLogicVerdict lineLogic = LineLogicVerdict::Unfinished;
    // Passes of the line logic that settled at least one cell or found the
    // line that nothing fits. A pass solves the changed rows, then the changed
    // columns.
    int lineLogicPasses = 0;
    // Cells the line logic alone settled, of all cells.
    int cellsKnownByLineLogic = 0;
    int cellCount = 0;
    // The solution when it is unique; two different ones when there are
    // several; when undecided, the one found so far, if any. Rows from the top,
    // 0 blank, otherwise the palette entry.
    std::vector<Picture> solutions;
};

// A picture that fits the clues (the model's own, for SolvePuzzle) is taken as
// a solution known from the start; the answer is the same either way, but the
// search then only has to look for a second one.
SolveReport SolvePuzzle(const CTessGrid& puzzle, CDeadline::Seconds timeLimit);
SolveReport SolveClues(const PuzzleClues& clues, CDeadline::Seconds timeLimit, const Picture* picture = nullptr);
