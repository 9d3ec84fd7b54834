#include "readers/TextTokens.h"
#include "support/PuzzleFiles.h"

#include <gtest/gtest.h>

namespace {

std::unique_ptr<CTessGrid> Pp(const std::string& text)
{
    return LoadText(text, ".pp");
}

std::vector<ClueEntry> RowOf(const std::string& text, int row)
{
    const auto puzzle = Pp(text);
    EXPECT_EQ(puzzle->m_status, LoadOk) << text;
    return puzzle->m_rowClues ? LineOf(*puzzle->m_rowClues, row) : std::vector<ClueEntry>{};
}

TEST(NextToken, SkipsDelimitersAndByteZeroBeforeAToken)
{
    const std::string text("  ab\0 cd", 8);
    std::int64_t position = 0;
    EXPECT_EQ(NextToken(text, " ", position), "ab");
    EXPECT_EQ(position, -1);
    position = 4;
    EXPECT_EQ(NextToken(text, " ", position), "cd");
    EXPECT_EQ(position, -1);
    position = 0;
    EXPECT_EQ(NextToken("x y", " ", position), "x");
    EXPECT_EQ(position, 1);
    position = 3;
    EXPECT_EQ(NextToken("x y", " ", position), "");
    EXPECT_EQ(position, -1);
}

TEST(PpReader, ReadsCluesAndPicture)
{
    const auto puzzle = Pp("3 2\n1 2 1\n2 2\n=\n00.\n.00\n");
    ASSERT_EQ(puzzle->m_status, LoadOk);
    EXPECT_EQ(puzzle->m_width, 3);
    EXPECT_EQ(puzzle->m_height, 2);
    EXPECT_EQ(puzzle->m_noPicture, 1);
    EXPECT_EQ(LineOf(*puzzle->m_columnClues, 1), Clues({{2, 1}}));
    EXPECT_EQ(LineOf(*puzzle->m_rowClues, 0), Clues({{2, 1}}));
    EXPECT_EQ(LineOf(*puzzle->m_picture, 0), (Bytes{1, 1, 255}));
    EXPECT_EQ(LineOf(*puzzle->m_picture, 1), (Bytes{255, 1, 1}));
}

TEST(PpReader, DimensionsAreNumbersModulo256)
{
    EXPECT_EQ(Pp("300 0\n" + std::string(44, '-') + "\n")->m_width, 44);
    EXPECT_EQ(Pp("12abc 0\n" + std::string(12, '-') + "\n")->m_width, 12);
    EXPECT_EQ(Pp("abc 1 junk junk\n-\n")->m_width, 0);
    EXPECT_EQ(Pp("0 -255 more\n1\n")->m_height, 1);
    EXPECT_EQ(Pp("99999999999 0\n")->m_status, LoadRejected);
}

TEST(PpReader, CluesStartAtTheFirstLineBreak)
{
    // The height stands on the second line, so it is read again as a clue.
    const auto puzzle = Pp("2\n1\n3 4\n");
    ASSERT_EQ(puzzle->m_status, LoadOk);
    EXPECT_EQ(LineOf(*puzzle->m_columnClues, 0), Clues({{1, 1}}));
    EXPECT_EQ(LineOf(*puzzle->m_columnClues, 1), Clues({{3, 1}}));
    EXPECT_EQ(LineOf(*puzzle->m_rowClues, 0), Clues({{4, 1}}));
    // Tokens may spread over the lines in any way.
    EXPECT_EQ(Pp("2 1 \n 1\n\n 2\t3 ")->m_status, LoadOk);
}

TEST(PpReader, OneLineTextHasNoClues)
{
    EXPECT_EQ(Pp("1 1 1 1")->m_status, LoadRejected);
    const auto empty = Pp("0 0");
    ASSERT_EQ(empty->m_status, LoadOk);
    EXPECT_EQ(empty->m_picture->LineCount(), 0);
}

TEST(PpReader, TextWithoutHeightIsRefused)
{
    for (const char* text : {"", "   \n\t", "5", "5\n"})
        EXPECT_EQ(Pp(text)->m_status, LoadRejected) << '"' << text << '"';
}

TEST(PpReader, ClueItemGrammar)
{
    EXPECT_EQ(RowOf("0 1\n.123\n", 0), Clues({{12, 1}, {3, 1}}));
    EXPECT_EQ(RowOf("0 1\n.05.1x\n", 0), Clues({{5, 1}, {(10 + 'x' - 48) % 256, 1}}));
    EXPECT_EQ(RowOf("0 1\n-\n", 0), Clues({}));
    for (const char* text : {"0 1\n.5\n", "0 1\n1,2\n", "0 1\n-1\n", "0 1\n--\n"})
        EXPECT_EQ(Pp(text)->m_status, LoadRejected) << text;
}

TEST(PpReader, ZeroIsAnEmptySlotThatKeepsItsColour)
{
    EXPECT_EQ(RowOf("0 3\n0 03 30\n", 0), Clues({{0, 1}, {0, 0}}));
    EXPECT_EQ(RowOf("0 3\n0 03 30\n", 1), Clues({{0, 1}, {3, 1}}));
    EXPECT_EQ(RowOf("0 3\n0 03 30\n", 2), Clues({{0, 0}, {3, 1}}));
    EXPECT_EQ(RowOf("0 2\n30 111\n", 0), Clues({{0, 0}, {0, 1}, {3, 1}}));
}

TEST(PpReader, PictureRowsAreTokensAfterTheEqualsSign)
{
    const auto glued = Pp("2 1\n1 1\n2\n=0?\n");
    EXPECT_EQ(LineOf(*glued->m_picture, 0), (Bytes{1, 0}));
    const auto together = Pp("2 2\n1 1 1 1 junk = 00 ?. \n");
    EXPECT_EQ(LineOf(*together->m_picture, 1), (Bytes{0, 255}));
    const auto none = Pp("2 1\n1 1\n2\n");
    EXPECT_EQ(LineOf(*none->m_picture, 0), (Bytes{0, 0}));
}

TEST(PpReader, AnyBadPictureRowRefusesTheWholeFile)
{
    for (const char* text : {"2 2\n1 1 1 1\n=\n00\n0\n", "2 2\n1 1 1 1\n=\n00\n000\n", "2 2\n1 1 1 1\n=\n00\n",
                             "2 2\n1 1 1 1\n=\n00\n0#\n"})
        EXPECT_EQ(Pp(text)->m_status, LoadRejected) << text;
}

TEST(PpReader, ByteZeroBetweenTokensIsSkippedAfterATokenItEndsTheText)
{
    EXPECT_EQ(Pp(std::string("1 1\n\0 1 1\n", 10))->m_status, LoadOk);
    EXPECT_EQ(Pp(std::string("1 1\n1\0 1\n", 9))->m_status, LoadRejected);
}

TEST(PpReader, RefusesMoreCluesThanAListCanHold)
{
    EXPECT_EQ(Pp("0 1\n" + std::string(255, '1') + "\n")->m_rowClueMax, 255);
    EXPECT_EQ(Pp("0 1\n" + std::string(256, '1') + "\n")->m_status, LoadRejected);
}

TEST(TextReaders, RefuseTextsBeyondTheSizeCap)
{
    const std::string padding(kMaxPuzzleTextBytes, ' ');
    EXPECT_EQ(Pp("0 0\n" + padding)->m_refusal, "a text of more than 16 MiB");
    EXPECT_EQ(LoadText("00\r\n" + padding, ".tgp")->m_status, LoadOk);
    EXPECT_EQ(LoadText("00\r\n" + padding + "x", ".tgp")->m_refusal, "a text of more than 16 MiB");
}

TEST(TextReaders, SayWhyTheyRefuse)
{
    EXPECT_EQ(Pp("3")->m_refusal, "no height after the width");
    EXPECT_EQ(Pp("3 2\n1 2\n")->m_refusal, "fewer clue tokens than its 3 columns and 2 rows, or a token that is not "
                                          "\"-\", digits and \".\" pairs");
    EXPECT_EQ(Pp("2 1\n1 1\n2\n=\n0?0\n")->m_refusal,
              "a picture after \"=\" with a row missing, of another length than 2, or of other cells than 0, . and ?");
    EXPECT_EQ(LoadText("21\r\n1\r\n", ".tgp")->m_refusal,
              "fewer CR LF lines than its 2 rows and 1 columns, or a line of more than 255 clues");
}

} // namespace
