#include "solver/PuzzleClues.h"
#include "support/PuzzleFiles.h"

#include <gtest/gtest.h>

namespace {

std::unique_ptr<CTessGrid> Non(const std::string& text, const SettingsOverlay& overlay = {})
{
    return LoadText(text, ".non", overlay);
}

std::string RefusalOf(const std::string& text)
{
    const auto puzzle = Non(text);
    EXPECT_EQ(puzzle->m_status, LoadRejected) << text;
    return puzzle->m_refusal;
}

// webpbn.com puzzle #1 "Dancer" by Jan Wolter, from the nonogram-db
// collection, which gives it under CC-BY-3.0 (see public/README).
TEST(NonReader, APuzzleOfTheLargeCollections)
{
    SettingsOverlay blueInk;
    blueInk.filledColour = MakeColour(0, 0, 255);
    const auto puzzle = std::make_unique<CTessGrid>(GRIDLOOK_SOURCE_DIR "/tests/public/webpbn-1.non", blueInk);
    ASSERT_EQ(puzzle->m_status, LoadOk) << puzzle->m_refusal;
    EXPECT_EQ(puzzle->m_width, 5);
    EXPECT_EQ(puzzle->m_height, 10);
    EXPECT_EQ(puzzle->m_palette[1], MakeColour(0, 0, 255));
    EXPECT_EQ(LineOf(*puzzle->m_columnClues, 1), Clues({{2, 1}, {1, 1}, {3, 1}}));
    EXPECT_EQ(LineOf(*puzzle->m_rowClues, 8), Clues({{1, 1}, {2, 1}}));
    EXPECT_EQ(puzzle->m_noPicture, 0);
    EXPECT_EQ(LineOf(*puzzle->m_picture, 0), (Bytes{0, 1, 1, 0, 0}));
    EXPECT_EQ(puzzle->m_metadata, (PuzzleMetadata{"Dancer", "Jan Wolter", "\u00A9 Copyright 2004 by Jan Wolter",
                                                  "CC-BY-3.0", "webpbn.com #1", ""}));
}

// webpbn.com puzzle #6 "Scardy Cat" by Jan Wolter, from the same collection:
// its goal, read cell by cell, fits the rules read line by line.
TEST(NonReader, AGoalFitsItsRules)
{
    const CTessGrid puzzle(GRIDLOOK_SOURCE_DIR "/tests/public/webpbn-6.non");
    ASSERT_EQ(puzzle.m_status, LoadOk) << puzzle.m_refusal;
    EXPECT_EQ(puzzle.m_width, 20);
    EXPECT_EQ(puzzle.m_rowClueMax, 4);
    EXPECT_TRUE(PictureFitsClues(*puzzle.m_picture, CluesOf(puzzle)));
}

// The original format writes "0" for an empty line and ignores blank lines;
// the collections leave an empty line blank. Each reads as its writer meant.
TEST(NonReader, EmptyLinesWrittenEitherWay)
{
    const auto simpson = Non("width 2\nheight 3\nrows\n\n1\n\n0\n1\n\ncolumns\n1,1\n\n1\n");
    ASSERT_EQ(simpson->m_status, LoadOk) << simpson->m_refusal;
    EXPECT_EQ(LineOf(*simpson->m_rowClues, 0), Clues({{1, 1}}));
    EXPECT_EQ(LineOf(*simpson->m_rowClues, 1), Clues({{0, 0}}));
    EXPECT_EQ(LineOf(*simpson->m_rowClues, 2), Clues({{1, 1}}));

    const auto blank = Non("width 2\nheight 3\nrows\n1\n\n1\ncolumns\n1,1\n\n");
    ASSERT_EQ(blank->m_status, LoadOk) << blank->m_refusal;
    EXPECT_EQ(LineOf(*blank->m_rowClues, 1), Clues({{0, 0}}));
    EXPECT_EQ(LineOf(*blank->m_columnClues, 1), Clues({{0, 0}, {0, 0}}));

    EXPECT_EQ(RefusalOf("width 1\nheight 2\nrows\n1\n1\n1\ncolumns\n3\n"), ".non: line 6: more rules than rows");
    EXPECT_EQ(RefusalOf("width 1\nheight 3\nrows\n1\n\ncolumns\n3\n"), ".non: line 5: 1 rules for 3 rows");
}

TEST(NonReader, ColourLinesAndLetters)
{
    const auto puzzle = Non("color 0 #fffff0\ncolor b #0000ff\nwidth 3\nheight 1\nrows\n1a, 1b\ncolumns\n"
                            "1a\n\n1b\ncolor a #ff0000\ngoal \"a0b\"\n");
    ASSERT_EQ(puzzle->m_status, LoadOk) << puzzle->m_refusal;
    EXPECT_EQ(puzzle->m_colourCount, 3);
    EXPECT_EQ(puzzle->m_palette[0], MakeColour(255, 255, 240));
    // The "color" lines in their order, wherever they stand.
    EXPECT_EQ(puzzle->m_palette[1], MakeColour(0, 0, 255));
    EXPECT_EQ(puzzle->m_palette[2], MakeColour(255, 0, 0));
    EXPECT_EQ(LineOf(*puzzle->m_rowClues, 0), Clues({{1, 2}, {1, 1}}));
    EXPECT_EQ(LineOf(*puzzle->m_picture, 0), (Bytes{2, 0, 1}));

    // Letters without "color" lines get colours of their own; the first
    // that is used is black.
    const auto undeclared = Non("width 2\nheight 1\nrows\n1x,1y\ncolumns\n1x\n1y\n");
    ASSERT_EQ(undeclared->m_status, LoadOk) << undeclared->m_refusal;
    EXPECT_EQ(undeclared->m_colourCount, 3);
    EXPECT_EQ(undeclared->m_palette[1], kBlack);
    EXPECT_NE(undeclared->m_palette[2], undeclared->m_palette[1]);

    std::string many = "width 16\nheight 1\nrows\n";
    for (char c = 'a'; c < 'a' + 16; ++c)
        many += std::string(c == 'a' ? "" : ",") + "1" + c;
    EXPECT_EQ(RefusalOf(many + "\ncolumns\n"), ".non: line 4: more than 16 colours");
    EXPECT_EQ(RefusalOf("color a red\nwidth 1\nheight 1\n"),
              ".non: line 1: a \"color\" line that is not a character and #RRGGBB");
    EXPECT_EQ(RefusalOf("width 1\nheight 1\nrows\n1.\ncolumns\n1\n"), ".non: line 4: a colour that is no letter: \".\"");
}

TEST(NonReader, GoalWrittenOnOneLineOrRowByRow)
{
    const auto quoted = Non("width 2\nheight 2\ngoal \"1001\"\n");
    ASSERT_EQ(quoted->m_status, LoadOk) << quoted->m_refusal;
    EXPECT_EQ(LineOf(*quoted->m_columnClues, 0), Clues({{1, 1}}));
    const auto rows = Non("width 2\nheight 2\ngoal\n10\n01\ntitle \"after\"\n");
    ASSERT_EQ(rows->m_status, LoadOk) << rows->m_refusal;
    EXPECT_EQ(LineOf(*rows->m_picture, 1), (Bytes{0, 1}));
    EXPECT_EQ(rows->m_metadata.title, "after");

    EXPECT_EQ(RefusalOf("width 2\nheight 2\ngoal 101\n"), ".non: line 3: 3 goal cells for 4");
    EXPECT_EQ(RefusalOf("width 1\nheight 1\ngoal 01\n"), ".non: line 3: more goal cells than the puzzle has");
    EXPECT_EQ(RefusalOf("width 1\nheight 1\ngoal ?\n"), ".non: line 3: a goal cell that is neither 0, 1 nor a letter: \"?\"");
}

TEST(NonReader, SizesFirstOnceAndWithinTheModel)
{
    const auto named = Non("columns 1\nrows 2\nrows\n1\n1\ncolumns\n2\n");
    ASSERT_EQ(named->m_status, LoadOk) << named->m_refusal;
    EXPECT_EQ(named->m_height, 2);
    EXPECT_EQ(RefusalOf("rows\n1\nwidth 1\nheight 1\n"), ".non: line 1: \"rows\" before the puzzle's size");
    EXPECT_EQ(RefusalOf("width 1\nwidth 2\nheight 1\n"), ".non: line 2: a second width");
    EXPECT_EQ(RefusalOf("width 256\nheight 1\n"), ".non: line 1: 256 columns (at most 255)");
    EXPECT_EQ(RefusalOf("width 99999999999\nheight 1\n"), ".non: line 1: too many columns (at most 255)");
    EXPECT_EQ(RefusalOf("width 1\nheight 1\nrows\n128\ncolumns\n1\n"), ".non: line 4: a clue of 128 (1 to 127)");
    EXPECT_EQ(RefusalOf("width 1\nheight 1\nrows\n1\ncolumns\n1\n5\n"), ".non: line 7: more rules than columns");
    EXPECT_EQ(RefusalOf("width 1\nheight 1\nrows\n1\ncolumns\n1\ntitle x\n5\n"),
              ".non: line 8: a rule outside \"rows\" and \"columns\"");
}

} // namespace
