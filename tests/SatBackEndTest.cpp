// The back end on its own: which states of a clue's automaton each cell keeps,
// and the answers, limits and cap of the back end. Its answers on every small
// grid are held against counting in ExhaustiveSolverTest.
#include "sat/ClueAutomaton.h"
#include "sat/SatBackEnd.h"
#include "support/PuzzleFiles.h"

#include <gtest/gtest.h>

namespace {

constexpr CDeadline::Seconds kAmple{600};
constexpr CellColours kBlankOrInk = kBlankBit | ColourBit(1);

// The states each cell keeps, as one string a cell: 'g' for a gap, else the
// run cell's place in its run from 1.
std::vector<std::string> PossibleStates(const LineClue& clue, const std::vector<CellColours>& cells)
{
    const CClueAutomaton automaton(clue);
    CLineStates states;
    if (!states.Reckon(automaton, cells))
        return {};
    std::vector<std::string> possible;
    for (int cell = 0; cell < static_cast<int>(cells.size()); ++cell) {
        possible.emplace_back();
        states.ForEachPossible(cell, [&](int state) {
            int place = 0;
            while (!automaton.IsGap(state - place))
                ++place;
            possible.back() += place == 0 ? 'g' : static_cast<char>('0' + place);
        });
    }
    return possible;
}

TEST(SatBackEnd, EarliestAndLatestPlacesPruneTheStates)
{
    // A run of 3 in 5 cells starts at 0, 1 or 2.
    EXPECT_EQ(PossibleStates({{3, 1}}, std::vector<CellColours>(5, kBlankOrInk)),
              (std::vector<std::string>{"g1", "g12", "123", "23g", "3g"}));
    // The known cells leave one placement.
    std::vector<CellColours> cells(5, kBlankOrInk);
    cells[4] = ColourBit(1);
    EXPECT_EQ(PossibleStates({{3, 1}}, cells), (std::vector<std::string>{"g", "g", "1", "2", "3"}));
}

TEST(SatBackEnd, OnlyRunsOfDifferentColoursTouch)
{
    const std::vector<CellColours> two(2, kBlankBit | ColourBit(1) | ColourBit(2));
    EXPECT_EQ(PossibleStates({{1, 1}, {1, 2}}, two), (std::vector<std::string>{"1", "1"}));
    EXPECT_TRUE(PossibleStates({{1, 1}, {1, 1}}, two).empty());
    // A line of no cells fits only the empty clue.
    CLineStates states;
    EXPECT_FALSE(states.Reckon(CClueAutomaton(LineClue{{1, 1}}), {}));
    EXPECT_TRUE(states.Reckon(CClueAutomaton(LineClue{}), {}));
}

// The 4 x 4 puzzle whose row 2 must be ".11.", for row 1's runs cannot touch.
PuzzleClues UniqueBeyondLineLogic()
{
    const auto puzzle = LoadText("4 4\n1 1 1 1\n11 2 - -\n", ".pp");
    return CluesOf(*puzzle);
}

std::vector<CellColours> Open(const PuzzleClues& clues)
{
    return std::vector<CellColours>(static_cast<std::size_t>(clues.width * clues.height), kBlankOrInk);
}

TEST(SatBackEnd, FindsTheSolutionAndNoOther)
{
    const PuzzleClues clues = UniqueBeyondLineLogic();
    const CDeadline deadline(kAmple);
    CSatBackEnd backEnd(clues, Open(clues), deadline);
    Picture first(0, 0);
    ASSERT_EQ(backEnd.FindSolution(first), CSatBackEnd::Result::Found);
    EXPECT_EQ(LineOf(first, 0), (std::vector<std::uint8_t>{1, 0, 0, 1}));
    EXPECT_EQ(LineOf(first, 1), (std::vector<std::uint8_t>{0, 1, 1, 0}));
    Picture second(0, 0);
    EXPECT_EQ(backEnd.FindAnother(first, second), CSatBackEnd::Result::Exhausted);
}

TEST(SatBackEnd, SameCluesSameSolutions)
{
    const auto puzzle = LoadText("6 6\n11 11 11 11 11 11\n11 11 11 11 11 11\n", ".pp");
    const PuzzleClues clues = CluesOf(*puzzle);
    std::vector<Picture> found;
    for (int run = 0; run < 2; ++run) {
        const CDeadline deadline(kAmple);
        CSatBackEnd backEnd(clues, Open(clues), deadline);
        found.emplace_back(0, 0);
        ASSERT_EQ(backEnd.FindSolution(found.back()), CSatBackEnd::Result::Found);
        Picture second(0, 0);
        ASSERT_EQ(backEnd.FindAnother(found.back(), second), CSatBackEnd::Result::Found);
        EXPECT_FALSE(std::ranges::equal(second.Items(), found.back().Items()));
        EXPECT_TRUE(PictureFitsClues(second, clues));
    }
    EXPECT_TRUE(std::ranges::equal(found[0].Items(), found[1].Items()));
}

TEST(SatBackEnd, DeclinesBeyondItsCapAndStopsAtTheDeadline)
{
    const PuzzleClues clues = UniqueBeyondLineLogic();
    Picture found(0, 0);
    const CDeadline ample(kAmple);
    CSatBackEnd capped(clues, Open(clues), ample, 10);
    EXPECT_EQ(capped.FindSolution(found), CSatBackEnd::Result::Declined);
    EXPECT_EQ(capped.FindAnother(found, found), CSatBackEnd::Result::Declined);

    const CDeadline none(CDeadline::Seconds(0));
    CSatBackEnd late(clues, Open(clues), none);
    EXPECT_EQ(late.FindSolution(found), CSatBackEnd::Result::OutOfTime);

    CDeadline stopped(kAmple);
    stopped.Stop();
    CSatBackEnd told(clues, Open(clues), stopped);
    EXPECT_EQ(told.FindSolution(found), CSatBackEnd::Result::OutOfTime);
}

TEST(SatBackEnd, CluesThatCannotBeDrawnHaveNoSolution)
{
    PuzzleClues clues = UniqueBeyondLineLogic();
    clues.rows[2] = {{1, 0}};
    const CDeadline deadline(kAmple);
    CSatBackEnd backEnd(clues, Open(clues), deadline);
    Picture found(0, 0);
    EXPECT_EQ(backEnd.FindSolution(found), CSatBackEnd::Result::Exhausted);
}

} // namespace
