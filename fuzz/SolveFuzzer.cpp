// Loads any input with any reader and solves what loaded under a short time
// limit, with the whole solver and with its back end alone from every cell
// open. The first byte chooses the reader; the rest is the file. Each answer
// is held to what an answer promises, and the two answers to each other.
#include "FuzzInput.h"
#include "sat/SatBackEnd.h"
#include "solver/GridState.h"
#include "solver/PuzzleSolver.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

// The extensions of the public formats choose nothing: each such file goes to
// the native reader, then to the public readers by its contents.
constexpr const char* kExtensions[] = {".tessa", ".tgr", ".tgw", ".tgp", ".pp", ".xml", ".non", ".g", ".mk", ".nin"};
constexpr CDeadline::Seconds kTimeLimit{0.05};
constexpr int kSkipInput = -1;

void Require(bool holds, const char* promise)
{
    if (holds)
        return;
    std::fprintf(stderr, "The solver broke a promise: %s\n", promise);
    std::abort();
}

bool Same(const Picture& a, const Picture& b)
{
    return std::ranges::equal(a.Items(), b.Items());
}

void CheckSolutions(const SolveReport& report, const PuzzleClues& clues)
{
    const std::size_t expected = report.answer == SolveAnswer::Several ? 2 : report.answer == SolveAnswer::Unique ? 1 : 0;
    Require(report.solutions.size() == expected || (report.answer == SolveAnswer::Undecided && report.solutions.size() <= 1),
            "no solution for none, one for unique, two for several, at most one when undecided");
    for (const Picture& solution : report.solutions) {
        Require(PictureFitsClues(solution, clues), "every solution fits the clues");
        Require(std::ranges::all_of(solution.Items(), [](std::uint8_t cell) { return cell < kPaletteSize; }),
                "a solution holds blanks and palette entries only");
    }
    if (report.answer == SolveAnswer::Several)
        Require(!Same(report.solutions[0], report.solutions[1]), "the two solutions of several differ");
}

void CheckLineLogic(const SolveReport& report, const CTessGrid& puzzle)
{
    Require(report.cellCount == puzzle.m_width * puzzle.m_height, "the cells are the grid's");
    Require(report.cellsKnownByLineLogic >= 0 && report.cellsKnownByLineLogic <= report.cellCount,
            "line logic knows at most every cell");
    if (report.lineLogic == LineLogicVerdict::Solves)
        Require(report.answer == SolveAnswer::Unique, "what line logic solves has one solution");
    if (report.lineLogic == LineLogicVerdict::ProvesNoSolution)
        Require(report.answer == SolveAnswer::NoSolution, "what line logic rules out has no solution");
    if (report.lineLogic == LineLogicVerdict::Unfinished)
        Require(report.answer == SolveAnswer::Undecided, "unfinished line logic decides nothing");
}

// A picture that fits its clues is a solution the solver must not deny.
void CheckAgainstPicture(const SolveReport& report, const CTessGrid& puzzle, const PuzzleClues& clues)
{
    if (!PictureFitsClues(*puzzle.m_picture, clues))
        return;
    Require(report.answer != SolveAnswer::NoSolution, "clues that a picture fits have a solution");
    if (report.answer != SolveAnswer::Unique)
        return;
    Picture ink = *puzzle.m_picture;
    std::ranges::transform(ink.Items(), ink.Items().begin(), CTessGrid::InkOf);
    Require(Same(report.solutions[0], ink), "a unique solution is the picture that fits");
}

// The back end from the cells as they stand before any line logic: each in the
// colours its row and column both ask for.
SolveAnswer BackEndAnswer(const PuzzleClues& clues, std::vector<Picture>& solutions)
{
    const CDeadline deadline(kTimeLimit);
    const CGridState start(clues, deadline);
    std::vector<CellColours> cells;
    for (int cell = 0; cell < start.CellCount(); ++cell)
        cells.push_back(start.Colours(cell));
    CSatBackEnd backEnd(clues, cells, deadline);
    Picture first(0, 0);
    const CSatBackEnd::Result found = backEnd.FindSolution(first);
    if (found == CSatBackEnd::Result::Exhausted)
        return SolveAnswer::NoSolution;
    if (found != CSatBackEnd::Result::Found)
        return SolveAnswer::Undecided;
    solutions.push_back(first);
    Picture second(0, 0);
    const CSatBackEnd::Result another = backEnd.FindAnother(first, second);
    if (another == CSatBackEnd::Result::Found)
        solutions.push_back(second);
    return another == CSatBackEnd::Result::Found      ? SolveAnswer::Several
           : another == CSatBackEnd::Result::Exhausted ? SolveAnswer::Unique
                                                       : SolveAnswer::Undecided;
}

void CheckBackEnd(const SolveReport& report, const PuzzleClues& clues)
{
    std::vector<Picture> solutions;
    const SolveAnswer answer = BackEndAnswer(clues, solutions);
    for (const Picture& solution : solutions)
        Require(PictureFitsClues(solution, clues), "every solution of the back end fits the clues");
    if (answer == SolveAnswer::Several)
        Require(!Same(solutions[0], solutions[1]), "the back end's two solutions differ");
    if (answer != SolveAnswer::Undecided && report.answer != SolveAnswer::Undecided)
        Require(answer == report.answer, "the back end alone answers as the solver does");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    PrepareFuzzFolder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return kSkipInput;
    const std::string path = WriteInputFile(data + 1, size - 1, kExtensions[data[0] % std::size(kExtensions)]);
    const CTessGrid puzzle(path);
    CheckLoad(puzzle, path);
    if (puzzle.m_status != LoadOk)
        return 0;
    const PuzzleClues clues = CluesOf(puzzle);
    const SolveReport report = SolvePuzzle(puzzle, kTimeLimit);
    CheckSolutions(report, clues);
    CheckLineLogic(report, puzzle);
    CheckAgainstPicture(report, puzzle, clues);
    CheckBackEnd(report, clues);
    return 0;
}
