// The model's own operations: dark colours, clue derivation and justification,
// seen through native files that hold exactly the case under test.
#include "support/PuzzleFiles.h"

#include <gtest/gtest.h>

namespace {

std::unique_ptr<CTessGrid> WithPalette(std::initializer_list<Colour> colours)
{
    NativeFile file;
    file.colourCount = 16;
    std::copy(colours.begin(), colours.end(), file.palette.begin());
    return LoadNative(file);
}

std::unique_ptr<CTessGrid> Derived(const std::vector<std::string>& rows)
{
    NativeFile file;
    file.colourCount = 16;
    file.height = static_cast<std::uint8_t>(rows.size());
    file.width = static_cast<std::uint8_t>(rows.empty() ? 0 : rows[0].size());
    file.picture = PictureBytes(rows);
    return LoadNative(file);
}

TEST(DarkColours, RatesColoursInsideTheEllipseAsDark)
{
    const auto puzzle = WithPalette({MakeColour(0, 0, 0), MakeColour(0, 0, 255), MakeColour(128, 128, 128),
                                     MakeColour(219, 0, 0), MakeColour(0, 184, 0), MakeColour(197, 0, 255)});
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(puzzle->m_darkColour[i], 1) << "entry " << i;
}

TEST(DarkColours, RatesTheBoundaryItselfAsLight)
{
    // The last four lie exactly on the ellipse: x squared plus y squared is 1.
    const auto puzzle = WithPalette({MakeColour(255, 255, 255), MakeColour(255, 0, 0), MakeColour(0, 192, 0),
                                     MakeColour(192, 192, 192), MakeColour(220, 0, 0), MakeColour(0, 185, 0),
                                     MakeColour(198, 0, 255), MakeColour(0, 166, 255)});
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(puzzle->m_darkColour[i], 0) << "entry " << i;
}

TEST(DarkColours, TwoColourPaletteWithDefaultInk)
{
    const auto puzzle = LoadBytes({0, 0, 0, 0}, ".tgr");
    ASSERT_EQ(puzzle->m_status, LoadOk);
    EXPECT_EQ(puzzle->m_darkColour[0], 0);
    EXPECT_EQ(puzzle->m_darkColour[1], 0);
    for (int i = 2; i < 16; ++i)
        EXPECT_EQ(puzzle->m_darkColour[i], 1);
}

TEST(DeriveClues, TouchingRunsOfDifferentColoursAreSeparateClues)
{
    const auto puzzle = Derived({"11.2221"});
    ASSERT_EQ(puzzle->m_rowClueMax, 3);
    EXPECT_EQ(LineOf(*puzzle->m_rowClues, 0), Clues({{2, 1}, {3, 2}, {1, 1}}));
}

TEST(DeriveClues, ShortLinesArePaddedAtTheFarEnd)
{
    const auto puzzle = Derived({"....", "1.1.", "3...", ".22."});
    ASSERT_EQ(puzzle->m_rowClueMax, 2);
    EXPECT_EQ(LineOf(*puzzle->m_rowClues, 0), Clues({{0, 0}, {0, 0}}));
    EXPECT_EQ(LineOf(*puzzle->m_rowClues, 1), Clues({{1, 1}, {1, 1}}));
    EXPECT_EQ(LineOf(*puzzle->m_rowClues, 2), Clues({{0, 0}, {1, 3}}));
    ASSERT_EQ(puzzle->m_columnClueMax, 2);
    EXPECT_EQ(LineOf(*puzzle->m_columnClues, 0), Clues({{1, 1}, {1, 3}}));
    EXPECT_EQ(LineOf(*puzzle->m_columnClues, 3), Clues({{0, 0}, {0, 0}}));
}

TEST(DeriveClues, FullColumnIsOneClueInTheLastSlot)
{
    const auto puzzle = Derived({"55", "5.", "5."});
    ASSERT_EQ(puzzle->m_columnClueMax, 1);
    EXPECT_EQ(LineOf(*puzzle->m_columnClues, 0), Clues({{3, 5}}));
}

TEST(DeriveClues, BlankOrEmptyPicturesHaveNoClueListsAtAll)
{
    for (const auto& rows : {std::vector<std::string>{"...", "..."}, std::vector<std::string>{},
                             std::vector<std::string>{"", ""}}) {
        const auto puzzle = Derived(rows);
        ASSERT_EQ(puzzle->m_status, LoadOk);
        EXPECT_EQ(puzzle->m_rowClueMax, 0);
        EXPECT_EQ(puzzle->m_columnClueMax, 0);
        EXPECT_FALSE(puzzle->m_rowClues);
        EXPECT_FALSE(puzzle->m_columnClues);
    }
}

TEST(DeriveClues, LargestCheckerboardFillsEverySlot)
{
    std::vector<std::string> rows;
    for (int r = 0; r < 255; ++r) {
        std::string row;
        for (int c = 0; c < 255; ++c)
            row += (r + c) % 2 ? '2' : '1';
        rows.push_back(row);
    }
    const auto puzzle = Derived(rows);
    ASSERT_EQ(puzzle->m_rowClueMax, 255);
    ASSERT_EQ(puzzle->m_columnClueMax, 255);
    for (int line : {0, 1, 254}) {
        for (int slot = 0; slot < 255; ++slot) {
            const std::uint8_t colour = (line + slot) % 2 ? 2 : 1;
            ASSERT_EQ((*puzzle->m_rowClues)[line][slot], (ClueEntry{1, colour}));
            ASSERT_EQ((*puzzle->m_columnClues)[line][slot], (ClueEntry{1, colour}));
        }
    }
}

TEST(DeriveClues, RunsLongerThan127KeepTheCrossedFlagClear)
{
    const auto puzzle = Derived({std::string(130, '1') + "." + std::string(100, '1')});
    EXPECT_EQ(LineOf(*puzzle->m_rowClues, 0), Clues({{127, 1}, {100, 1}}));
}

TEST(DeriveClues, MarkedEmptyCellsAndColoursWithoutPaletteEntryAreBlank)
{
    NativeFile file;
    file.colourCount = 16;
    file.width = 5;
    file.height = 1;
    file.picture = {1, 255, 1, 200, 16};
    const auto puzzle = LoadNative(file);
    EXPECT_EQ(LineOf(*puzzle->m_rowClues, 0), Clues({{1, 1}, {1, 1}}));
    EXPECT_EQ(LineOf(*puzzle->m_picture, 0), (Bytes{1, 255, 1, 200, 16}));
}

std::vector<ClueEntry> JustifiedColumn(std::initializer_list<ClueEntry> stored)
{
    NativeFile file;
    file.width = 1;
    file.columnClueMax = static_cast<std::uint8_t>(stored.size());
    file.noPicture = 1;
    for (ClueEntry entry : stored)
        file.columnClues.insert(file.columnClues.end(), {entry.value, entry.colour});
    const auto puzzle = LoadNative(file);
    return LineOf(*puzzle->m_columnClues, 0);
}

TEST(JustifyClues, MovesCluesToTheGridEndInOrder)
{
    EXPECT_EQ(JustifiedColumn({{0, 0}, {3, 1}, {0, 0}, {1, 2}}), Clues({{0, 0}, {0, 0}, {3, 1}, {1, 2}}));
    EXPECT_EQ(JustifiedColumn({{3, 1}, {0, 0}}), Clues({{0, 0}, {3, 1}}));
}

TEST(JustifyClues, OnlyTheValueByteDecidesWhatIsEmpty)
{
    EXPECT_EQ(JustifiedColumn({{0, 5}, {3, 1}}), Clues({{0, 5}, {3, 1}}));
    EXPECT_EQ(JustifiedColumn({{0x80, 1}, {0, 0}}), Clues({{0, 0}, {0x80, 1}}));
}

} // namespace
