#include "support/PuzzleFiles.h"

#include <gtest/gtest.h>

namespace {

// Cell size 12, three clue slots per row, two per column, 10 x 10 cells.
std::unique_ptr<CTessGrid> Example(std::uint8_t cellSize = 12, std::uint8_t width = 10, std::uint8_t height = 10,
                                   std::uint8_t rowClueMax = 3, std::uint8_t columnClueMax = 2)
{
    NativeFile file;
    file.width = width;
    file.height = height;
    file.rowClueMax = rowClueMax;
    file.columnClueMax = columnClueMax;
    file.noPicture = 1;
    file.columnClues.assign(2u * width * columnClueMax, 0);
    file.rowClues.assign(2u * height * rowClueMax, 0);
    SettingsOverlay overlay;
    overlay.cellSize = cellSize;
    return LoadNative(file, overlay);
}

std::pair<int, int> Origin(const CTessGrid& puzzle, CellArea area, int a, int b)
{
    int x = -1;
    int y = -1;
    EXPECT_TRUE(puzzle.CellOrigin(area, a, b, x, y)) << area << " " << a << " " << b;
    return {x, y};
}

bool Exists(const CTessGrid& puzzle, int area, int a, int b)
{
    int x = -7;
    int y = -7;
    const bool exists = puzzle.CellOrigin(static_cast<CellArea>(area), a, b, x, y);
    EXPECT_TRUE(exists || (x == -7 && y == -7)) << "outputs changed for a missing cell";
    return exists;
}

TEST(Layout, ExtentAndCellOriginsWithFiveCellGroups)
{
    const auto puzzle = Example();
    EXPECT_EQ(puzzle->LayoutExtent(), std::make_pair(161, 149));
    EXPECT_EQ(puzzle->m_layoutWidth, 161);
    EXPECT_EQ(puzzle->m_layoutHeight, 149);
    EXPECT_EQ(Origin(*puzzle, GridCell, 0, 0), std::make_pair(53, 41));
    EXPECT_EQ(Origin(*puzzle, GridCell, 4, 0), std::make_pair(101, 41));
    EXPECT_EQ(Origin(*puzzle, GridCell, 5, 0), std::make_pair(114, 41));
    EXPECT_EQ(Origin(*puzzle, GridCell, 9, 9), std::make_pair(162, 150));
    EXPECT_EQ(Origin(*puzzle, ColumnClue, 0, 0), std::make_pair(53, 16));
    EXPECT_EQ(Origin(*puzzle, ColumnClue, 0, 1), std::make_pair(53, 28));
    EXPECT_EQ(Origin(*puzzle, ColumnClue, 5, 1), std::make_pair(114, 28));
    EXPECT_EQ(Origin(*puzzle, RowClue, 0, 0), std::make_pair(16, 41));
    EXPECT_EQ(Origin(*puzzle, RowClue, 2, 0), std::make_pair(40, 41));
    EXPECT_EQ(Origin(*puzzle, RowClue, 0, 5), std::make_pair(16, 102));
}

TEST(Layout, CellsOutsideTheirAreaDoNotExist)
{
    const auto puzzle = Example();
    EXPECT_FALSE(Exists(*puzzle, GridCell, -1, 0));
    EXPECT_FALSE(Exists(*puzzle, GridCell, 0, -1));
    EXPECT_FALSE(Exists(*puzzle, GridCell, 10, 0));
    EXPECT_FALSE(Exists(*puzzle, ColumnClue, 0, 2));
    EXPECT_FALSE(Exists(*puzzle, RowClue, 3, 0));
    EXPECT_FALSE(Exists(*puzzle, RowClue, 0, 10));
    EXPECT_FALSE(Exists(*puzzle, 0, 0, 0));
    EXPECT_FALSE(Exists(*puzzle, 4, 0, 0));
    EXPECT_FALSE(Exists(*puzzle, GridCell, 2147483647, 0));

    const auto noColumnClues = Example(12, 10, 10, 3, 0);
    for (int a = 0; a < 10; ++a)
        EXPECT_FALSE(Exists(*noColumnClues, ColumnClue, a, 0));
    EXPECT_TRUE(Exists(*noColumnClues, RowClue, 0, 0));
}

TEST(Layout, ExtentOfEmptyAndExtremePuzzles)
{
    EXPECT_EQ(Example(12, 0, 0, 3, 0)->LayoutExtent(), std::make_pair(3 * 12 + 4, 4));
    EXPECT_EQ(Example(0, 10, 10)->LayoutExtent(), std::make_pair(5, 5));
    EXPECT_EQ(Example(255, 255, 255, 255, 255)->LayoutExtent(), std::make_pair(510 * 255 + 54, 510 * 255 + 54));
    const auto pointCells = Example(0, 10, 10);
    EXPECT_EQ(Origin(*pointCells, GridCell, 9, 9), std::make_pair(18, 18));
}

} // namespace
