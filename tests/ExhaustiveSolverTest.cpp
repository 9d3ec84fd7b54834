// The solver against counting: every grid up to 4 x 4 in two colours and up to
// 3 x 3 in three is turned into its clues, and the grids that share clues are
// counted. The solver must find no solution where there is none, the one grid
// where there is one, and two different grids of those clues where there are
// more. So must its back end on its own, wherever line logic leaves cells
// open. The runs are found here again, apart from the solver's own code.
#include "sat/SatBackEnd.h"
#include "solver/GridState.h"
#include "solver/PuzzleSolver.h"

#include <gtest/gtest.h>

#include <map>
#include <tuple>
#include <string>

namespace {

constexpr CDeadline::Seconds kAmple{600};

using LineRuns = std::vector<std::pair<int, int>>;

LineRuns RunsOfLine(const std::vector<std::uint8_t>& cells)
{
    LineRuns runs;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (cells[i] != 0 && i > 0 && cells[i - 1] == cells[i])
            ++runs.back().first;
        else if (cells[i] != 0)
            runs.emplace_back(1, cells[i]);
    }
    return runs;
}

struct GridRuns {
    std::vector<LineRuns> rows;
    std::vector<LineRuns> columns;

    bool operator==(const GridRuns&) const = default;
};

// The runs written out, to count grids by.
std::string KeyOf(const std::vector<LineRuns>& lines)
{
    std::string key;
    for (const LineRuns& line : lines) {
        for (const auto& [length, colour] : line)
            key += {static_cast<char>('0' + length), static_cast<char>('a' + colour)};
        key += '/';
    }
    return key;
}

std::string KeyOf(const GridRuns& runs)
{
    return KeyOf(runs.rows) + '|' + KeyOf(runs.columns);
}

GridRuns RunsOfGrid(const Picture& grid)
{
    GridRuns runs;
    for (int row = 0; row < grid.LineCount(); ++row)
        runs.rows.push_back(RunsOfLine({grid[row].begin(), grid[row].end()}));
    for (int column = 0; column < grid.LineLength(); ++column) {
        std::vector<std::uint8_t> cells;
        for (int row = 0; row < grid.LineCount(); ++row)
            cells.push_back(grid[row][column]);
        runs.columns.push_back(RunsOfLine(cells));
    }
    return runs;
}

PuzzleClues CluesFrom(const GridRuns& runs, int width, int height)
{
    PuzzleClues clues{width, height, {}, {}};
    const auto toClue = [](const LineRuns& line) {
        LineClue clue;
        for (const auto& [length, colour] : line)
            clue.push_back({static_cast<std::uint8_t>(length), static_cast<std::uint8_t>(colour)});
        return clue;
    };
    for (const LineRuns& line : runs.columns)
        clues.columns.push_back(toClue(line));
    for (const LineRuns& line : runs.rows)
        clues.rows.push_back(toClue(line));
    return clues;
}

struct Census {
    GridRuns runs;
    int grids = 0;
    Picture first{0, 0};
};

// Every grid of the size in the colours 0 to colours - 1, by the clues it gives.
std::map<std::string, Census> CountGrids(int width, int height, int colours)
{
    std::map<std::string, Census> census;
    Picture grid(height, width);
    std::span<std::uint8_t> cells = grid.Items();
    for (bool more = true; more;) {
        GridRuns runs = RunsOfGrid(grid);
        Census& entry = census[KeyOf(runs)];
        if (entry.grids++ == 0) {
            entry.runs = std::move(runs);
            entry.first = grid;
        }
        more = false;
        for (std::uint8_t& cell : cells) {
            if (++cell < colours) {
                more = true;
                break;
            }
            cell = 0;
        }
    }
    return census;
}

// What an answer of the solver must look like, given how many grids fit.
void ExpectAnswer(const PuzzleClues& clues, const GridRuns& runs, int grids, const Picture* only,
                  const SolveReport& report)
{
    if (grids == 0) {
        EXPECT_EQ(report.answer, SolveAnswer::NoSolution);
        EXPECT_TRUE(report.solutions.empty());
    } else if (grids == 1) {
        ASSERT_EQ(report.answer, SolveAnswer::Unique);
        ASSERT_EQ(report.solutions.size(), 1u);
        EXPECT_TRUE(std::ranges::equal(report.solutions[0].Items(), only->Items()));
    } else {
        ASSERT_EQ(report.answer, SolveAnswer::Several);
        ASSERT_EQ(report.solutions.size(), 2u);
        EXPECT_FALSE(std::ranges::equal(report.solutions[0].Items(), report.solutions[1].Items()));
        for (const Picture& solution : report.solutions) {
            EXPECT_TRUE(RunsOfGrid(solution) == runs);
            EXPECT_TRUE(PictureFitsClues(solution, clues));
        }
    }
    if (report.lineLogic == LineLogicVerdict::Solves) {
        EXPECT_EQ(grids, 1);
    }
    if (report.lineLogic == LineLogicVerdict::ProvesNoSolution) {
        EXPECT_EQ(grids, 0);
    }
}

// The back end alone, asked as the solver asks it, from `cells`.
SolveReport SolveByBackEnd(const PuzzleClues& clues, const std::vector<CellColours>& cells)
{
    const CDeadline deadline(kAmple);
    CSatBackEnd backEnd(clues, cells, deadline);
    SolveReport report;
    Picture first(0, 0);
    const CSatBackEnd::Result found = backEnd.FindSolution(first);
    if (found != CSatBackEnd::Result::Found) {
        report.answer = found == CSatBackEnd::Result::Exhausted ? SolveAnswer::NoSolution : SolveAnswer::Undecided;
        return report;
    }
    Picture second(0, 0);
    const CSatBackEnd::Result another = backEnd.FindAnother(first, second);
    report.answer = another == CSatBackEnd::Result::Found      ? SolveAnswer::Several
                    : another == CSatBackEnd::Result::Exhausted ? SolveAnswer::Unique
                                                                : SolveAnswer::Undecided;
    report.solutions.push_back(std::move(first));
    if (another == CSatBackEnd::Result::Found)
        report.solutions.push_back(std::move(second));
    return report;
}

// The back end only ever gets what line logic leaves open: it is asked from
// there, and on grids of up to 9 cells from every cell open in every colour.
void ExpectBackEndAnswer(const PuzzleClues& clues, const GridRuns& runs, int colours, int grids, const Picture* only)
{
    const CDeadline deadline(kAmple);
    CGridState state(clues, deadline);
    if (state.Propagate() != CGridState::Outcome::Consistent || state.Solved())
        return;
    std::vector<CellColours> cells;
    for (int cell = 0; cell < state.CellCount(); ++cell)
        cells.push_back(state.Colours(cell));
    {
        SCOPED_TRACE("back end, after line logic");
        ExpectAnswer(clues, runs, grids, only, SolveByBackEnd(clues, cells));
    }
    if (clues.width * clues.height > 9)
        return;
    SCOPED_TRACE("back end, every cell open");
    std::ranges::fill(cells, static_cast<CellColours>((1u << colours) - 1));
    ExpectAnswer(clues, runs, grids, only, SolveByBackEnd(clues, cells));
}

struct Tally {
    int unique = 0;
    int several = 0;
    int none = 0;
    int searched = 0; // answered only after the line logic stalled
};

// With `helped`, clues of several solutions are solved again with one of them
// given, as a picture that fits is given.
void Check(int width, int height, int colours, bool helped, Tally& tally)
{
    for (const auto& [key, census] : CountGrids(width, height, colours)) {
        const GridRuns& runs = census.runs;
        const PuzzleClues clues = CluesFrom(runs, width, height);
        const SolveReport report = SolveClues(clues, kAmple);
        SCOPED_TRACE(std::to_string(width) + " x " + std::to_string(height) + ", " + std::to_string(colours) +
                     " colours, " + std::to_string(census.grids) + " grids");
        ExpectAnswer(clues, runs, census.grids, &census.first, report);
        ExpectBackEndAnswer(clues, runs, colours, census.grids, &census.first);
        if (helped && census.grids > 1) {
            // The answer stays, and the solution given comes first.
            const SolveReport given = SolveClues(clues, kAmple, &census.first);
            ExpectAnswer(clues, runs, census.grids, &census.first, given);
            EXPECT_TRUE(std::ranges::equal(given.solutions[0].Items(), census.first.Items()));
        }
        (census.grids == 1 ? tally.unique : tally.several) += 1;
        tally.searched += report.lineLogic == LineLogicVerdict::Stalls ? 1 : 0;
    }
}

TEST(ExhaustiveSolver, EveryGridUpToFourByFourInTwoColours)
{
    Tally tally;
    for (int width = 1; width <= 4; ++width) {
        for (int height = 1; height <= 4; ++height)
            Check(width, height, 2, false, tally);
    }
    EXPECT_GT(tally.unique, 0);
    EXPECT_GT(tally.several, 0);
    EXPECT_GT(tally.searched, 0);
}

TEST(ExhaustiveSolver, EveryGridUpToThreeByThreeInThreeColours)
{
    Tally tally;
    for (int width = 1; width <= 3; ++width) {
        for (int height = 1; height <= 3; ++height)
            Check(width, height, 3, true, tally);
    }
    EXPECT_GT(tally.unique, 0);
    EXPECT_GT(tally.several, 0);
    EXPECT_GT(tally.searched, 0);
}

// Rows of one grid with columns of another: most such clues have no solution,
// some need search to show it.
void CheckMixed(int width, int height, int colours, Tally& tally)
{
    const std::map<std::string, Census> census = CountGrids(width, height, colours);
    std::map<std::string, std::vector<LineRuns>> rowSets;
    std::map<std::string, std::vector<LineRuns>> columnSets;
    for (const auto& [key, entry] : census) {
        rowSets.emplace(KeyOf(entry.runs.rows), entry.runs.rows);
        columnSets.emplace(KeyOf(entry.runs.columns), entry.runs.columns);
    }
    for (const auto& [rowKey, rows] : rowSets) {
        for (const auto& [columnKey, columns] : columnSets) {
            const GridRuns runs{rows, columns};
            const auto found = census.find(KeyOf(runs));
            const int grids = found == census.end() ? 0 : found->second.grids;
            const PuzzleClues clues = CluesFrom(runs, width, height);
            const SolveReport report = SolveClues(clues, kAmple);
            SCOPED_TRACE(std::to_string(width) + " x " + std::to_string(height) + " mixed");
            ExpectAnswer(clues, runs, grids, grids == 1 ? &found->second.first : nullptr, report);
            ExpectBackEndAnswer(clues, runs, colours, grids, grids == 1 ? &found->second.first : nullptr);
            if (grids == 0) {
                ++tally.none;
                tally.searched += report.lineLogic == LineLogicVerdict::Stalls ? 1 : 0;
            }
        }
    }
}

TEST(ExhaustiveSolver, RowsAndColumnsOfDifferentGrids)
{
    Tally tally;
    for (const auto& [width, height, colours] : {std::tuple{3, 3, 2}, {2, 2, 3}})
        CheckMixed(width, height, colours, tally);
    EXPECT_GT(tally.none, 0);
    EXPECT_GT(tally.searched, 0);
}

} // namespace
