#include "support/PuzzleFiles.h"

#include <gtest/gtest.h>

namespace {

TEST(TgrReader, EmptyFileHeaderIsAnEmptyPuzzle)
{
    const auto puzzle = LoadBytes({0, 0, 0, 0}, ".tgr");
    ASSERT_EQ(puzzle->m_status, LoadOk);
    EXPECT_FALSE(puzzle->m_columnClues);
    EXPECT_FALSE(puzzle->m_rowClues);
    EXPECT_EQ(puzzle->m_noPicture, 1);
    EXPECT_EQ(puzzle->m_colourCount, 2);
    EXPECT_EQ(puzzle->m_palette[0], kWhite);
}

TEST(TgrReader, ColumnBytesRunFromTheGridOutward)
{
    const auto puzzle = LoadBytes({2, 0, 0, 2, 1, 3, 0x83, 0}, ".tgr");
    ASSERT_EQ(puzzle->m_status, LoadOk);
    EXPECT_EQ(LineOf(*puzzle->m_columnClues, 0), Clues({{3, 1}, {1, 1}}));
    EXPECT_EQ(LineOf(*puzzle->m_columnClues, 1), Clues({{0, 0}, {0x83, 1}}));
}

TEST(TgrReader, GapsCloseWhenTheListsAreJustified)
{
    EXPECT_EQ(LineOf(*LoadBytes({1, 0, 0, 3, 2, 0, 0}, ".tgr")->m_columnClues, 0), Clues({{0, 0}, {0, 0}, {2, 1}}));
    EXPECT_EQ(LineOf(*LoadBytes({1, 0, 0, 3, 0, 2, 0}, ".tgr")->m_columnClues, 0), Clues({{0, 0}, {0, 0}, {2, 1}}));
    EXPECT_EQ(LineOf(*LoadBytes({1, 0, 0, 2, 0x80, 0}, ".tgr")->m_columnClues, 0), Clues({{0, 0}, {0x80, 1}}));
}

TEST(TgrReader, RowGroupsRunFromTheBottomRowUp)
{
    const auto puzzle = LoadBytes({0, 2, 1, 0, 5, 7}, ".tgr");
    ASSERT_EQ(puzzle->m_status, LoadOk);
    EXPECT_EQ(LineOf(*puzzle->m_rowClues, 1), Clues({{5, 1}}));
    EXPECT_EQ(LineOf(*puzzle->m_rowClues, 0), Clues({{7, 1}}));
    EXPECT_EQ(LineOf(*puzzle->m_picture, 0), Bytes());
    EXPECT_EQ(puzzle->m_picture->LineCount(), 2);
}

TEST(TgrReader, CutShortIsAFileErrorNeverARefusal)
{
    EXPECT_EQ(LoadBytes({0, 2, 1, 0, 5}, ".tgr")->m_status, LoadFileError);
    EXPECT_EQ(LoadBytes({2, 2, 1}, ".tgr")->m_status, LoadFileError);
    EXPECT_EQ(LoadBytes({0, 2, 1, 0, 5, 7, 9, 9}, ".tgr")->m_status, LoadOk);
}

TEST(TgwReader, CellsAreStoredColumnByColumn)
{
    const auto puzzle = LoadBytes({2, 3, 2, 2, 0, 1, 2, 2}, ".tgw");
    ASSERT_EQ(puzzle->m_status, LoadOk);
    EXPECT_EQ(puzzle->m_noPicture, 0);
    EXPECT_EQ(LineOf(*puzzle->m_picture, 0), (Bytes{1, 0}));
    EXPECT_EQ(LineOf(*puzzle->m_picture, 1), (Bytes{1, 1}));
    EXPECT_EQ(LineOf(*puzzle->m_picture, 2), (Bytes{0, 1}));
    EXPECT_EQ(LineOf(*puzzle->m_columnClues, 0), Clues({{2, 1}}));
    EXPECT_EQ(LineOf(*puzzle->m_columnClues, 1), Clues({{2, 1}}));
    EXPECT_EQ(LineOf(*puzzle->m_rowClues, 0), Clues({{1, 1}}));
    EXPECT_EQ(LineOf(*puzzle->m_rowClues, 1), Clues({{2, 1}}));
    EXPECT_EQ(LineOf(*puzzle->m_rowClues, 2), Clues({{1, 1}}));
}

TEST(TgwReader, OnlyStateTwoIsFilled)
{
    const auto none = LoadBytes({2, 2, 1, 3, 255, 0}, ".tgw");
    ASSERT_EQ(none->m_status, LoadOk);
    EXPECT_FALSE(none->m_columnClues);
    EXPECT_FALSE(none->m_rowClues);

    const auto all = LoadBytes({3, 2, 2, 2, 2, 2, 2, 2}, ".tgw");
    EXPECT_EQ(LineOf(*all->m_columnClues, 2), Clues({{2, 1}}));
    EXPECT_EQ(LineOf(*all->m_rowClues, 1), Clues({{3, 1}}));
}

TEST(TgwReader, CutShortIsAFileError)
{
    EXPECT_EQ(LoadBytes({0, 0}, ".tgw")->m_status, LoadOk);
    EXPECT_EQ(LoadBytes({2, 3, 2, 2, 0, 1, 2}, ".tgw")->m_status, LoadFileError);
    EXPECT_EQ(LoadBytes({2}, ".tgw")->m_status, LoadFileError);
    EXPECT_EQ(LoadBytes({1, 1, 2, 9, 9}, ".tgw")->m_status, LoadOk);
}

} // namespace
