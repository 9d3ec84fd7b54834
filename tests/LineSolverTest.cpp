// The line solver against arrangements counted one by one: for every short
// line, and for long lines that cross the solver's 64-bit words, each cell must
// keep exactly the colours that some arrangement fitting the cells gives it.
#include "solver/LineSolver.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <random>

namespace {

using Line = std::vector<std::uint8_t>;
using Cells = std::vector<CellColours>;

int Power(int base, int exponent)
{
    int result = 1;
    while (exponent-- > 0)
        result *= base;
    return result;
}

bool Allows(const Cells& cells, const Line& line)
{
    for (std::size_t i = 0; i < line.size(); ++i) {
        if ((cells[i] & ColourBit(line[i])) == 0)
            return false;
    }
    return true;
}

// The union of the given lines that the cells allow; empty when none is.
std::optional<Cells> UnionOfAllowed(const std::vector<Line>& lines, const Cells& cells)
{
    std::optional<Cells> together;
    for (const Line& line : lines) {
        if (!Allows(cells, line))
            continue;
        if (!together)
            together.emplace(cells.size(), 0);
        for (std::size_t i = 0; i < line.size(); ++i)
            (*together)[i] |= ColourBit(line[i]);
    }
    return together;
}

void ExpectNarrowing(const LineClue& clue, const Cells& cells, const std::optional<Cells>& expected)
{
    CLineSolver solver;
    Cells narrowed = cells;
    ASSERT_EQ(solver.Narrow(clue, narrowed), expected.has_value());
    EXPECT_EQ(narrowed, expected ? *expected : cells);
}

// Every line of up to 5 cells in blank and two colours, grouped by its runs;
// every clue met that way against every way of pinning cells to blank, colour
// 1, colour 2 or nothing.
TEST(LineSolver, ShortLinesMatchEveryArrangement)
{
    constexpr CellColours kPins[] = {kBlankBit | ColourBit(1) | ColourBit(2), kBlankBit, ColourBit(1), ColourBit(2)};
    for (int length = 0; length <= 5; ++length) {
        std::map<std::vector<std::pair<int, int>>, std::pair<LineClue, std::vector<Line>>> byClue;
        Line line(static_cast<std::size_t>(length));
        for (int code = 0; code < Power(3, length); ++code) {
            for (int i = 0, rest = code; i < length; ++i, rest /= 3)
                line[i] = static_cast<std::uint8_t>(rest % 3);
            const LineClue clue = RunsOf(line);
            std::vector<std::pair<int, int>> key;
            for (const ClueRun run : clue)
                key.emplace_back(run.length, run.colour);
            byClue[key].first = clue;
            byClue[key].second.push_back(line);
        }
        for (const auto& [key, entry] : byClue) {
            for (int pins = 0; pins < Power(4, length); ++pins) {
                Cells cells(static_cast<std::size_t>(length));
                for (int i = 0, rest = pins; i < length; ++i, rest /= 4)
                    cells[i] = kPins[rest % 4];
                SCOPED_TRACE("length " + std::to_string(length) + ", pins " + std::to_string(pins));
                ExpectNarrowing(entry.first, cells, UnionOfAllowed(entry.second, cells));
            }
        }
    }
}

// Every arrangement of a few runs on a long line, run after run; the ones that
// the cells allow go into `together`.
void Arrangements(const LineClue& clue, const Cells& cells, std::size_t run, Line& line, std::size_t from,
                  std::optional<Cells>& together)
{
    if (run == clue.size()) {
        if (Allows(cells, line)) {
            std::vector<Line> one{line};
            const std::optional<Cells> colours = UnionOfAllowed(one, cells);
            if (!together)
                together = colours;
            for (std::size_t i = 0; i < line.size(); ++i)
                (*together)[i] |= (*colours)[i];
        }
        return;
    }
    const bool gap = run > 0 && clue[run - 1].colour == clue[run].colour;
    for (std::size_t start = from + (gap ? 1 : 0); start + clue[run].length <= line.size(); ++start) {
        std::fill_n(line.begin() + static_cast<long>(start), clue[run].length, clue[run].colour);
        Arrangements(clue, cells, run + 1, line, start + clue[run].length, together);
        std::fill(line.begin() + static_cast<long>(start), line.end(), 0);
    }
}

// Up to three runs that leave at most 20 cells of slack, on lines of 60 to 255
// cells: runs that cross the 64-bit words of the solver's sets.
TEST(LineSolver, LongLinesMatchEveryArrangement)
{
    std::mt19937 random(16);
    for (int trial = 0; trial < 200; ++trial) {
        const std::size_t length = 60 + random() % 196;
        const std::size_t runs = random() % 4;
        const std::size_t inked = runs == 0 ? 0 : length - random() % 21 - runs;
        LineClue clue;
        for (std::size_t i = 0; i < runs; ++i)
            clue.push_back({static_cast<std::uint8_t>(inked / runs), static_cast<std::uint8_t>(1 + random() % 2)});
        Cells cells(length, kBlankBit | ColourBit(1) | ColourBit(2));
        for (int pinned = 0; pinned < 3; ++pinned)
            cells[random() % length] = ColourBit(static_cast<int>(random() % 3));
        Line line(length, 0);
        std::optional<Cells> together;
        Arrangements(clue, cells, 0, line, 0, together);
        SCOPED_TRACE("trial " + std::to_string(trial));
        ExpectNarrowing(clue, cells, together);
    }
}

TEST(LineSolver, RunsThatFillTheLineExactlySettleEveryCell)
{
    CLineSolver solver;
    Cells cells(255, kBlankBit | ColourBit(1) | ColourBit(2));
    ASSERT_TRUE(solver.Narrow(LineClue{{127, 1}, {128, 2}}, cells));
    EXPECT_EQ(cells[126], ColourBit(1));
    EXPECT_EQ(cells[127], ColourBit(2));

    Cells ones(255, kBlankBit | ColourBit(1));
    ASSERT_TRUE(solver.Narrow(LineClue(128, ClueRun{1, 1}), ones));
    for (std::size_t i = 0; i < ones.size(); ++i)
        ASSERT_EQ(ones[i], i % 2 == 0 ? ColourBit(1) : kBlankBit) << i;
    Cells tooShort(254, kBlankBit | ColourBit(1));
    EXPECT_FALSE(solver.Narrow(LineClue(128, ClueRun{1, 1}), tooShort));
}

TEST(LineSolver, RunsOfTheBackgroundOrOfNoPaletteEntryNeverFit)
{
    CLineSolver solver;
    Cells cells(4, 0xFFFF);
    EXPECT_FALSE(solver.Narrow(LineClue{{1, 0}}, cells));
    EXPECT_FALSE(solver.Narrow(LineClue{{1, 16}}, cells));
    EXPECT_EQ(cells, Cells(4, 0xFFFF));
}

} // namespace
