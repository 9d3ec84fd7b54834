// The solver on puzzles read from files: what a clue list means to it, known
// puzzles with several solutions, none, or one that line logic cannot reach,
// the time limit, and the largest puzzles.
#include "sat/SatBackEnd.h"
#include "solver/GridState.h"
#include "solver/PuzzleSolver.h"
#include "support/PuzzleFiles.h"

#include <gtest/gtest.h>

namespace {

constexpr CDeadline::Seconds kAmple{600};

#ifndef __has_feature
#define __has_feature(feature) 0
#endif
#if defined(__SANITIZE_ADDRESS__) || __has_feature(address_sanitizer)
constexpr bool kInstrumented = true;
#else
constexpr bool kInstrumented = false;
#endif

SolveReport Solve(const std::unique_ptr<CTessGrid>& puzzle)
{
    EXPECT_EQ(puzzle->m_status, LoadOk);
    return SolvePuzzle(*puzzle, kAmple);
}

SolveReport SolvePp(const std::string& text)
{
    return Solve(LoadText(text, ".pp"));
}

std::vector<std::string> Rows(const Picture& picture)
{
    std::vector<std::string> rows;
    for (int row = 0; row < picture.LineCount(); ++row) {
        rows.emplace_back();
        for (const std::uint8_t cell : picture[row])
            rows.back() += cell == 0 ? '.' : static_cast<char>('0' + cell);
    }
    return rows;
}

TEST(Solver, TheTwoByTwoDiagonalHasTwoSolutions)
{
    const SolveReport report = SolvePp("2 2\n1 1\n1 1\n");
    EXPECT_EQ(report.answer, SolveAnswer::Several);
    EXPECT_EQ(report.lineLogic, LineLogicVerdict::Stalls);
    EXPECT_EQ(report.cellsKnownByLineLogic, 0);
    ASSERT_EQ(report.solutions.size(), 2u);
    const std::vector<std::vector<std::string>> diagonals = {{"1.", ".1"}, {".1", "1."}};
    EXPECT_NE(Rows(report.solutions[0]), Rows(report.solutions[1]));
    for (const Picture& solution : report.solutions)
        EXPECT_NE(std::ranges::find(diagonals, Rows(solution)), diagonals.end());
}

TEST(Solver, NoSolutionByLineLogicOrBySearch)
{
    // Four filled cells by the columns, two by the rows: a row of two cells
    // cannot hold a run of 2 and a run of 1.
    const SolveReport byLines = SolvePp("2 2\n2 2\n1 1\n");
    EXPECT_EQ(byLines.answer, SolveAnswer::NoSolution);
    EXPECT_EQ(byLines.lineLogic, LineLogicVerdict::ProvesNoSolution);
    EXPECT_TRUE(byLines.solutions.empty());

    // Three filled cells by the columns, two by the rows; every line on its
    // own can be arranged, so only search shows it.
    const SolveReport bySearch = SolvePp("3 3\n1 1 1\n- 1 1\n");
    EXPECT_EQ(bySearch.answer, SolveAnswer::NoSolution);
    EXPECT_EQ(bySearch.lineLogic, LineLogicVerdict::Stalls);
}

TEST(Solver, UniqueButBeyondLineLogic)
{
    // The run of 2 in row 2 must stand in the middle, for row 1's two runs
    // cannot touch; no single line says so.
    const SolveReport report = SolvePp("4 4\n1 1 1 1\n11 2 - -\n");
    EXPECT_EQ(report.answer, SolveAnswer::Unique);
    EXPECT_EQ(report.lineLogic, LineLogicVerdict::Stalls);
    EXPECT_EQ(report.cellsKnownByLineLogic, 8);
    // The empty rows are settled at the start, which is part of the first pass.
    EXPECT_EQ(report.lineLogicPasses, 1);
    ASSERT_EQ(report.solutions.size(), 1u);
    EXPECT_EQ(Rows(report.solutions[0]), (std::vector<std::string>{"1..1", ".11.", "....", "...."}));
}

TEST(Solver, LineLogicCountsItsPasses)
{
    const auto house = std::make_unique<CTessGrid>(std::string(GRIDLOOK_SOURCE_DIR "/examples/house.tgp"));
    const SolveReport solved = Solve(house);
    EXPECT_EQ(solved.answer, SolveAnswer::Unique);
    EXPECT_EQ(solved.lineLogic, LineLogicVerdict::Solves);
    EXPECT_EQ(solved.lineLogicPasses, 2);
    EXPECT_EQ(Rows(solved.solutions[0]),
              (std::vector<std::string>{"..1..", ".111.", "11111", "1...1", "1.1.1", "11111"}));

    // Every cell is settled before the first pass looks at a line.
    const SolveReport empty = SolvePp("2 1\n- -\n-\n");
    EXPECT_EQ(empty.lineLogic, LineLogicVerdict::Solves);
    EXPECT_EQ(empty.lineLogicPasses, 1);
}

// Colours: runs of different colours may touch; the same colour needs a blank
// between its runs.
TEST(Solver, RunsOfDifferentColoursTouch)
{
    NativeFile file;
    file.colourCount = 3;
    file.width = 4;
    file.height = 1;
    file.picture = PictureBytes({"1122"});
    const SolveReport touching = Solve(LoadNative(file));
    EXPECT_EQ(touching.answer, SolveAnswer::Unique);
    EXPECT_EQ(Rows(touching.solutions[0]), (std::vector<std::string>{"1122"}));

    file.picture = PictureBytes({"11.1"});
    const SolveReport parted = Solve(LoadNative(file));
    EXPECT_EQ(Rows(parted.solutions[0]), (std::vector<std::string>{"11.1"}));
}

NativeFile OneRowOfClues(std::vector<std::uint8_t> rowClue, int width)
{
    NativeFile file;
    file.colourCount = 3;
    file.width = static_cast<std::uint8_t>(width);
    file.height = 1;
    file.noPicture = 1;
    file.rowClueMax = static_cast<std::uint8_t>(rowClue.size() / 2);
    file.rowClues = rowClue;
    return file;
}

TEST(Solver, HowClueListsAreRead)
{
    // No column lists: every column is empty, so the row must be too.
    EXPECT_EQ(Solve(LoadNative(OneRowOfClues({2, 1}, 3))).answer, SolveAnswer::NoSolution);
    EXPECT_EQ(Solve(LoadNative(OneRowOfClues({0, 1}, 3))).answer, SolveAnswer::Unique);

    NativeFile file = OneRowOfClues({0x82, 1, 0x80, 2, 0, 5}, 2);
    file.columnClueMax = 1;
    file.columnClues = {1, 1, 1, 1};
    // The crossed flag is not part of the length; 0x80 and 0 are empty slots.
    const SolveReport crossed = Solve(LoadNative(file));
    EXPECT_EQ(crossed.answer, SolveAnswer::Unique);
    EXPECT_EQ(Rows(crossed.solutions[0]), (std::vector<std::string>{"11"}));

    // A run of the background, or of a colour from 16 up, which stands for
    // the background, can never be drawn: neither ignored nor drawn blank.
    file.rowClueMax = 1;
    for (const std::uint8_t background : {0, 17}) {
        file.rowClues = {2, background};
        file.columnClues = {1, background, 1, background};
        EXPECT_EQ(Solve(LoadNative(file)).answer, SolveAnswer::NoSolution) << int{background};
    }
}

// A .tgw of n x n cells whose top row and left column are filled.
Bytes CornerTgw(int n)
{
    Bytes bytes{static_cast<std::uint8_t>(n), static_cast<std::uint8_t>(n)};
    for (int column = 0; column < n; ++column) {
        for (int row = 0; row < n; ++row)
            bytes.push_back(row == 0 || column == 0 ? 2 : 0);
    }
    return bytes;
}

// The same corner in colour 2 of a native file with a picture and no clues.
NativeFile CornerNative(int n)
{
    NativeFile file;
    file.colourCount = 3;
    file.width = static_cast<std::uint8_t>(n);
    file.height = static_cast<std::uint8_t>(n);
    for (int row = 0; row < n; ++row) {
        for (int column = 0; column < n; ++column)
            file.picture.push_back(row == 0 || column == 0 ? 2 : 0);
    }
    return file;
}

void ExpectCornerSolvedFromItsRuns(const std::unique_ptr<CTessGrid>& puzzle, int n, std::uint8_t ink)
{
    // The stored clues, which the viewer shows, keep at most 127 cells.
    const auto stored = static_cast<std::uint8_t>(std::min(n, kLongestStoredRun));
    EXPECT_EQ((*puzzle->m_rowClues)[0].back(), (ClueEntry{stored, ink}));
    EXPECT_EQ((*puzzle->m_columnClues)[0].back(), (ClueEntry{stored, ink}));

    const PuzzleClues clues = CluesOf(*puzzle);
    const auto length = static_cast<std::uint8_t>(n);
    // Cut short, they might keep the search busy for long: no solution is
    // worth looking for then.
    ASSERT_EQ(clues.rows[0], (LineClue{{length, ink}}));
    ASSERT_EQ(clues.columns[0], (LineClue{{length, ink}}));
    const std::vector<int> longLines = n > kLongestStoredRun ? std::vector<int>{0} : std::vector<int>{};
    EXPECT_EQ(LinesWithLongRuns(clues.rows), longLines);
    EXPECT_EQ(LinesWithLongRuns(clues.columns), longLines);

    const SolveReport report = Solve(puzzle);
    EXPECT_EQ(report.answer, SolveAnswer::Unique);
    EXPECT_EQ(report.lineLogic, LineLogicVerdict::Solves);
    ASSERT_EQ(report.solutions.size(), 1u);
    EXPECT_TRUE(std::ranges::equal(report.solutions[0].Items(), puzzle->m_picture->Items()));
}

TEST(Solver, CluesDerivedFromAPictureKeepRunsLongerThanAClueCanHold)
{
    for (const int n : {127, 128, 200, 255}) {
        SCOPED_TRACE(n);
        ExpectCornerSolvedFromItsRuns(LoadBytes(CornerTgw(n), ".tgw"), n, 1);
        ExpectCornerSolvedFromItsRuns(LoadNative(CornerNative(n)), n, 2);
    }

    // A file's own clues are read as they are, even beside a picture that
    // holds longer runs: a row of 127 cannot be 128 columns of 1.
    NativeFile file = CornerNative(128);
    file.height = 1;
    file.picture.resize(128);
    file.rowClueMax = 1;
    file.rowClues = {127, 2};
    file.columnClueMax = 1;
    for (int column = 0; column < 128; ++column)
        file.columnClues.insert(file.columnClues.end(), {1, 2});
    const auto stored = LoadNative(file);
    EXPECT_EQ(CluesOf(*stored).rows[0], (LineClue{{127, 2}}));
    EXPECT_EQ(Solve(stored).answer, SolveAnswer::NoSolution);
}

TEST(Solver, PictureThatFitsIsTakenAsTheFirstSolution)
{
    NativeFile file;
    file.width = 2;
    file.height = 2;
    file.picture = PictureBytes({".1", "1x"});
    const SolveReport report = Solve(LoadNative(file));
    EXPECT_EQ(report.answer, SolveAnswer::Several);
    ASSERT_EQ(report.solutions.size(), 2u);
    EXPECT_EQ(Rows(report.solutions[0]), (std::vector<std::string>{".1", "1."}));
    EXPECT_EQ(Rows(report.solutions[1]), (std::vector<std::string>{"1.", ".1"}));
}

TEST(Solver, SameCluesSameAnswerAndEvidence)
{
    const std::string text = "6 6\n11 11 11 11 11 11\n11 11 11 11 11 11\n";
    const SolveReport first = SolvePp(text);
    const SolveReport again = SolvePp(text);
    ASSERT_EQ(first.answer, SolveAnswer::Several);
    EXPECT_EQ(first.solvedBy, SolveMethod::Search);
    ASSERT_EQ(again.solutions.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i)
        EXPECT_EQ(Rows(first.solutions[i]), Rows(again.solutions[i]));
}

// The dominoes of n: 2n + 1 cells a side, beyond line logic, and the kind of
// puzzle that search takes long over, ten times as long for each domino more
// (a second for 8, ten for 9). Its rows and columns can be given room for a
// 2 x 2 diagonal beside them.
std::string DominoesText(int n, bool withDiagonal)
{
    std::string columns = "1 1";
    std::string rows = "3 1";
    for (int domino = 1; domino < n; ++domino) {
        columns += " 13 1";
        rows += " 31 1";
    }
    columns += " 3";
    rows += " 1";
    const int side = 2 * n + 1 + (withDiagonal ? 2 : 0);
    const std::string diagonal = withDiagonal ? " 1 1" : "";
    return std::to_string(side) + " " + std::to_string(side) + "\n" + columns + diagonal + "\n" + rows + diagonal + "\n";
}

TEST(Solver, TheBackEndDecidesWhatSearchFindsHard)
{
    const SolveReport report = SolvePp(DominoesText(8, false));
    EXPECT_EQ(report.answer, SolveAnswer::Unique);
    EXPECT_EQ(report.lineLogic, LineLogicVerdict::Stalls);
    EXPECT_EQ(report.solvedBy, SolveMethod::BackEnd);
    ASSERT_EQ(report.solutions.size(), 1u);
    EXPECT_TRUE(PictureFitsClues(report.solutions[0], CluesOf(*LoadText(DominoesText(8, false), ".pp"))));
}

TEST(Solver, SeveralFromTheBackEndAreTheBackEndsOwnTwo)
{
    if (kInstrumented)
        GTEST_SKIP() << "the search's share of work before the back end's answer stands takes minutes when instrumented";
    // The diagonal has two ways; the search would find the first solution only
    // after far more work than its answer of several may take. So the two
    // solutions are the back end's, whichever engine finds two first: those it
    // finds on its own from what the line logic leaves open.
    const PuzzleClues clues = CluesOf(*LoadText(DominoesText(9, true), ".pp"));
    const SolveReport report = SolveClues(clues, kAmple);
    ASSERT_EQ(report.answer, SolveAnswer::Several);
    EXPECT_EQ(report.solvedBy, SolveMethod::BackEnd);
    ASSERT_EQ(report.solutions.size(), 2u);

    const CDeadline deadline(kAmple);
    CGridState state(clues, deadline);
    ASSERT_EQ(state.Propagate(), CGridState::Outcome::Consistent);
    std::vector<CellColours> cells;
    for (int cell = 0; cell < state.CellCount(); ++cell)
        cells.push_back(state.Colours(cell));
    CSatBackEnd backEnd(clues, cells, deadline);
    Picture first(0, 0);
    Picture second(0, 0);
    ASSERT_EQ(backEnd.FindSolution(first), CSatBackEnd::Result::Found);
    ASSERT_EQ(backEnd.FindAnother(first, second), CSatBackEnd::Result::Found);
    EXPECT_EQ(Rows(report.solutions[0]), Rows(first));
    EXPECT_EQ(Rows(report.solutions[1]), Rows(second));
}

TEST(Solver, NoTimeLeavesItUndecided)
{
    const auto puzzle = LoadText("2 2\n1 1\n1 1\n", ".pp");
    const SolveReport report = SolvePuzzle(*puzzle, CDeadline::Seconds(0));
    EXPECT_EQ(report.answer, SolveAnswer::Undecided);
    EXPECT_EQ(report.lineLogic, LineLogicVerdict::Unfinished);
    EXPECT_TRUE(report.solutions.empty());
}

TEST(Solver, EmptyPuzzleHasOneSolution)
{
    const SolveReport report = Solve(LoadBytes({0, 0, 0, 0}, ".tgr"));
    EXPECT_EQ(report.answer, SolveAnswer::Unique);
    EXPECT_EQ(report.lineLogic, LineLogicVerdict::Solves);
    EXPECT_EQ(report.cellCount, 0);
}

TEST(Solver, LargestPuzzles)
{
    // 255 x 255 in two colours without a blank: every clue is 255 runs of 1.
    NativeFile checkerboard;
    checkerboard.colourCount = 3;
    checkerboard.width = 255;
    checkerboard.height = 255;
    for (int row = 0; row < 255; ++row) {
        for (int column = 0; column < 255; ++column)
            checkerboard.picture.push_back(static_cast<std::uint8_t>(1 + (row + column) % 2));
    }
    const SolveReport report = Solve(LoadNative(checkerboard));
    EXPECT_EQ(report.answer, SolveAnswer::Unique);
    EXPECT_EQ(report.lineLogic, LineLogicVerdict::Solves);
    EXPECT_TRUE(std::ranges::equal(report.solutions[0].Items(), checkerboard.picture));

    // 255 runs of 1 in one colour need 509 cells.
    Bytes tgr(4, 255);
    tgr.resize(4 + 2 * 255 * 255, 1);
    EXPECT_EQ(Solve(LoadBytes(tgr, ".tgr")).answer, SolveAnswer::NoSolution);
}

} // namespace
