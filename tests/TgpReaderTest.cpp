#include "support/PuzzleFiles.h"

#include <gtest/gtest.h>

namespace {

std::unique_ptr<CTessGrid> Tgp(const std::string& text)
{
    return LoadText(text, ".tgp");
}

TEST(TgpReader, ReadsRowLinesThenColumnLines)
{
    const auto puzzle = Tgp("23\r\n2\r\n2\r\n1\r\n2\r\n1\r\n");
    ASSERT_EQ(puzzle->m_status, LoadOk);
    EXPECT_EQ(puzzle->m_height, 2);
    EXPECT_EQ(puzzle->m_width, 3);
    EXPECT_EQ(puzzle->m_noPicture, 1);
    EXPECT_EQ(LineOf(*puzzle->m_rowClues, 1), Clues({{2, 1}}));
    EXPECT_EQ(LineOf(*puzzle->m_columnClues, 1), Clues({{2, 1}}));
    EXPECT_EQ(LineOf(*puzzle->m_picture, 0), (Bytes{0, 0, 0}));
}

TEST(TgpReader, EveryByteOfALineIsAClue)
{
    // A space, a lone CR and a lone LF are clues 240, 221 and 218; the
    // character 0 is an empty slot. Lists are justified after the read.
    const auto puzzle = Tgp("10\r\n1 \r3\n0\r\n");
    ASSERT_EQ(puzzle->m_status, LoadOk);
    EXPECT_EQ(puzzle->m_rowClueMax, 6);
    EXPECT_EQ(LineOf(*puzzle->m_rowClues, 0), Clues({{0, 0}, {1, 1}, {240, 1}, {221, 1}, {3, 1}, {218, 1}}));
}

TEST(TgpReader, CountsComeFromAnyCharacter)
{
    const auto puzzle = Tgp(std::string("\x2F" ":") + "\r\n");
    // 47 - 48 wraps to 255 rows: the text holds none of their lines.
    EXPECT_EQ(puzzle->m_status, LoadRejected);
    std::string text = ";0\r\n";
    for (int row = 0; row < 11; ++row)
        text += "1\r\n";
    const auto eleven = Tgp(text);
    ASSERT_EQ(eleven->m_status, LoadOk);
    EXPECT_EQ(eleven->m_height, 11);
}

TEST(TgpReader, NoRowsMeansTheColumnLinesFollowTheHeader)
{
    const auto puzzle = Tgp("02xx3\r\n\r\n");
    ASSERT_EQ(puzzle->m_status, LoadOk);
    EXPECT_FALSE(puzzle->m_rowClues);
    EXPECT_EQ(LineOf(*puzzle->m_columnClues, 0), Clues({{3, 1}}));
    EXPECT_EQ(LineOf(*puzzle->m_columnClues, 1), Clues({{0, 0}}));
}

TEST(TgpReader, EmptyRowLinesStillSeparateTheColumnLines)
{
    const auto puzzle = Tgp("21\r\n\r\n\r\n12\r\nextra\r\n");
    ASSERT_EQ(puzzle->m_status, LoadOk);
    EXPECT_FALSE(puzzle->m_rowClues);
    EXPECT_EQ(LineOf(*puzzle->m_columnClues, 0), Clues({{1, 1}, {2, 1}}));
}

TEST(TgpReader, ZeroByZeroNeedsNoLines)
{
    const auto puzzle = Tgp("00\r\n");
    ASSERT_EQ(puzzle->m_status, LoadOk);
    EXPECT_FALSE(puzzle->m_rowClues);
    EXPECT_FALSE(puzzle->m_columnClues);
    EXPECT_EQ(puzzle->m_picture->LineCount(), 0);
}

TEST(TgpReader, RefusesTextsWithoutEveryLineEnd)
{
    EXPECT_EQ(Tgp("11\n1\n1\n")->m_status, LoadRejected);
    EXPECT_EQ(Tgp("11\r\n1\r\n1")->m_status, LoadRejected);
    EXPECT_EQ(Tgp(std::string("11\r\n1\0\r\n1\r\n", 11))->m_status, LoadRejected);
}

TEST(TgpReader, RefusesLinesLongerThanAClueListCanBe)
{
    EXPECT_EQ(Tgp("10\r\n" + std::string(255, '1') + "\r\n")->m_rowClueMax, 255);
    EXPECT_EQ(Tgp("10\r\n" + std::string(256, '1') + "\r\n")->m_status, LoadRejected);
}

TEST(TgpReader, ShorterThanItsHeaderIsAFileError)
{
    for (const char* text : {"", "1", "11", "11\r"})
        EXPECT_EQ(Tgp(text)->m_status, LoadFileError) << text;
}

} // namespace
