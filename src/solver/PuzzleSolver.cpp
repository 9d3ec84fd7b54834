#include "solver/PuzzleSolver.h"

#include "solver/GridState.h"
#include "solver/Search.h"

#include <algorithm>
#include <optional>

namespace {

// Work budgets of the runs that look for a first solution, in lines solved
// (a few milliseconds' worth for the first): each run gets half as much again
// as the one before, so the last run does at least a third of all the work.
constexpr double kFirstBudget = 20000;
constexpr double kBudgetGrowth = 1.5;
// Far beyond what any time limit lets a run spend.
constexpr double kLargestBudget = 1e15;

// The picture's ink, when it fits the clues: a solution known before searching.
std::optional<Picture> InkIfSolution(const Picture* picture, const PuzzleClues& clues)
{
    if (!picture || !PictureFitsClues(*picture, clues))
        return std::nullopt;
    Picture ink = *picture;
    for (std::uint8_t& cell : ink.Items())
        cell = CTessGrid::InkOf(cell);
    return ink;
}

SolveAnswer AnswerAfterSecond(CSearch::Result result)
{
    switch (result) {
    case CSearch::Result::Found: return SolveAnswer::Several;
    case CSearch::Result::Exhausted: return SolveAnswer::Unique;
    case CSearch::Result::BudgetSpent:
    case CSearch::Result::OutOfTime: break;
    }
    return SolveAnswer::Undecided;
}

// Search, once the line logic has stalled: a first solution (unless the file
// gave one), then a second or the proof that there is none.
void SearchSolutions(CGridState& state, const PuzzleClues& clues, const Picture* picture, SolveReport& report)
{
    CSearch search(state);
    const CGridState::Outcome settled = search.SettleRoot();
    if (settled != CGridState::Outcome::Consistent) {
        report.answer = settled == CGridState::Outcome::Contradiction ? SolveAnswer::NoSolution : SolveAnswer::Undecided;
        return;
    }
    std::optional<Picture> first = InkIfSolution(picture, clues);
    double budget = kFirstBudget;
    for (int run = 0; !first; ++run, budget = std::min(budget * kBudgetGrowth, kLargestBudget)) {
        Picture found(0, 0);
        const CSearch::Result result = search.FindSolution(run, static_cast<std::int64_t>(budget), found);
        if (result == CSearch::Result::Found)
            first = std::move(found);
        else if (result != CSearch::Result::BudgetSpent) {
            report.answer = result == CSearch::Result::Exhausted ? SolveAnswer::NoSolution : SolveAnswer::Undecided;
            return;
        }
    }
    report.solutions.push_back(std::move(*first));
    Picture second(0, 0);
    const CSearch::Result result = search.FindAnother(report.solutions.front(), second);
    report.answer = AnswerAfterSecond(result);
    if (result == CSearch::Result::Found)
        report.solutions.push_back(std::move(second));
}

} // namespace

SolveReport SolvePuzzle(const CTessGrid& puzzle, CDeadline::Seconds timeLimit)
{
    return SolveClues(CluesOf(puzzle), timeLimit, puzzle.m_picture ? &*puzzle.m_picture : nullptr);
}

SolveReport SolveClues(const PuzzleClues& clues, CDeadline::Seconds timeLimit, const Picture* picture)
{
    const CDeadline deadline(timeLimit);
    CGridState state(clues, deadline);
    SolveReport report;
    const CGridState::Outcome lineLogic = state.Propagate();
    report.lineLogicPasses = state.Passes();
    report.cellCount = state.CellCount();
    report.cellsKnownByLineLogic = state.CellCount() - state.UnknownCells();
    switch (lineLogic) {
    case CGridState::Outcome::OutOfTime:
        return report;
    case CGridState::Outcome::Contradiction:
        report.lineLogic = LineLogicVerdict::ProvesNoSolution;
        report.answer = SolveAnswer::NoSolution;
        return report;
    case CGridState::Outcome::Consistent:
        break;
    }
    if (state.Solved()) {
        report.lineLogic = LineLogicVerdict::Solves;
        report.answer = SolveAnswer::Unique;
        report.solutions.push_back(state.ToPicture());
        return report;
    }
    report.lineLogic = LineLogicVerdict::Stalls;
    SearchSolutions(state, clues, picture, report);
    return report;
}
