#include "support/PuzzleFiles.h"

#include <gtest/gtest.h>

namespace {

std::string RefusalOf(const std::string& text, const std::string& extension)
{
    const auto puzzle = LoadText(text, extension);
    EXPECT_EQ(puzzle->m_status, LoadRejected) << text;
    return puzzle->m_refusal;
}

TEST(OlsakReader, ColoursAreDeclaredBeforeTheRows)
{
    const auto puzzle = LoadText("A comment: the first ':' or '#' in column 1 ends it.\n#d\n"
                                 "   0:   #FFFFF0  background\n   1:*  black\n   m:%  #2040A0\n   r:+  Red\n"
                                 ": rows\n1 2m\n\n3r\n: columns\n1\n1m 1r\n1m 1r\n1r\n: end\nignored\n",
                                 ".g");
    ASSERT_EQ(puzzle->m_status, LoadOk) << puzzle->m_refusal;
    EXPECT_EQ(puzzle->m_width, 4);
    EXPECT_EQ(puzzle->m_height, 3);
    EXPECT_EQ(puzzle->m_colourCount, 4);
    EXPECT_EQ(puzzle->m_palette[0], MakeColour(255, 255, 240));
    EXPECT_EQ(puzzle->m_palette[3], MakeColour(255, 0, 0));
    EXPECT_EQ(LineOf(*puzzle->m_rowClues, 0), Clues({{1, 1}, {2, 2}}));
    EXPECT_EQ(LineOf(*puzzle->m_rowClues, 1), Clues({{0, 0}, {0, 0}}));
    EXPECT_EQ(LineOf(*puzzle->m_columnClues, 1), Clues({{1, 2}, {1, 3}}));
}

TEST(OlsakReader, WithoutColoursItIsATwoColourPuzzle)
{
    SettingsOverlay ink;
    ink.filledColour = MakeColour(10, 20, 30);
    // Blank lines at the very end of a text without its closing ':' are no rows.
    const auto puzzle = LoadText(": rows\n2\n\n: columns\n1\n1\n\n\n", ".g", ink);
    ASSERT_EQ(puzzle->m_status, LoadOk) << puzzle->m_refusal;
    EXPECT_EQ(puzzle->m_width, 2);
    EXPECT_EQ(puzzle->m_height, 2);
    EXPECT_EQ(puzzle->m_palette[1], MakeColour(10, 20, 30));
}

TEST(OlsakReader, TriddlersTrianglesAndUnknownColoursAreRefused)
{
    EXPECT_EQ(RefusalOf("#t\n: a\n1\n: b\n1\n", ".g"), "Olšák .g: line 1: a triddler, not a grid of squares");
    EXPECT_EQ(RefusalOf("#d\n 1:* black\n /:a white/black\n: rows\n1\n: columns\n1\n", ".g"),
              "Olšák .g: line 3: a triangle cell, not a square");
    EXPECT_EQ(RefusalOf("#d\n m:m mauvish\n: rows\n1m\n: columns\n1m\n", ".g"),
              "Olšák .g: line 2: the colour \"mauvish\", neither #RRGGBB nor a name this reader knows");
    EXPECT_EQ(RefusalOf("#d\n m:m blue\n: rows\n1\n: columns\n1m\n", ".g"),
              "Olšák .g: line 4: a length without a colour, and no default colour (\"1:\")");
    EXPECT_EQ(RefusalOf("#d\n 1:* black\n: rows\n1q\n: columns\n1\n", ".g"),
              "Olšák .g: line 4: the colour \"q\", which is not declared");
    EXPECT_EQ(RefusalOf(": rows\n1m\n: columns\n1\n", ".g"),
              "Olšák .g: line 2: a colour \"m\" without colour declarations");
}

TEST(MkAndNinReaders, SizesInTheirOrderThenTheLines)
{
    // .mk gives the height first and puts "#" between rows and columns.
    const auto mk = LoadText("3 2\n2\n1\n0\n#\n1\n2\n", ".mk");
    ASSERT_EQ(mk->m_status, LoadOk) << mk->m_refusal;
    EXPECT_EQ(mk->m_width, 2);
    EXPECT_EQ(mk->m_height, 3);
    EXPECT_EQ(LineOf(*mk->m_columnClues, 1), Clues({{2, 1}}));
    // .nin gives the width first; blank lines are skipped, "0" is an empty line.
    const auto nin = LoadText("2 3\r\n\r\n2\r\n1\r\n0\r\n1\r\n2\r\n", ".nin");
    ASSERT_EQ(nin->m_status, LoadOk) << nin->m_refusal;
    EXPECT_EQ(nin->m_width, 2);
    EXPECT_EQ(nin->m_height, 3);
    EXPECT_EQ(LineOf(*nin->m_rowClues, 2), Clues({{0, 0}}));
    EXPECT_EQ(LineOf(*nin->m_columnClues, 1), Clues({{2, 1}}));
}

TEST(MkAndNinReaders, MissingOrExtraLinesAndOversizedClues)
{
    EXPECT_EQ(RefusalOf("3 2\n2\n1\n#\n1\n2\n", ".mk"), ".mk: line 4: a clue that is no number: \"#\"");
    EXPECT_EQ(RefusalOf("1 1\n1\n1\n#\n1\n", ".mk"),
              ".mk: line 3: more rows than the size line gives, or no \"#\" after them");
    EXPECT_EQ(RefusalOf("2 1\n1 1\n1\n", ".nin"), ".nin: the text ends after 1 of 2 columns");
    EXPECT_EQ(RefusalOf("1 1\n1\n1\n1\n", ".nin"), ".nin: line 4: more lines than the puzzle has rows and columns");
    EXPECT_EQ(RefusalOf("1 1\n128\n1\n", ".nin"), ".nin: line 2: a clue of 128 (1 to 127)");
    EXPECT_EQ(RefusalOf("1 1\n1 0\n1\n", ".nin"), ".nin: line 2: a clue of 0 (1 to 127)");
    EXPECT_EQ(RefusalOf("1 256\n", ".nin"), ".nin: 256 rows (at most 255)");
}

} // namespace
