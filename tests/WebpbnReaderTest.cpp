#include "support/PuzzleFiles.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

std::string Set(const std::string& puzzles)
{
    return "<?xml version=\"1.0\"?>\n<!DOCTYPE pbn SYSTEM \"https://webpbn.com/pbn-0.3.dtd\">\n<puzzleset>\n" +
           puzzles + "</puzzleset>\n";
}

// A <puzzle> with `attributes` and `body` in it.
std::string Puzzle(const std::string& body, const std::string& attributes = "type=\"grid\"")
{
    return "<puzzle " + attributes + ">\n" + body + "</puzzle>\n";
}

std::string Line(const std::string& counts)
{
    return "<line>" + counts + "</line>";
}

std::string Count(int length, const std::string& colour = "")
{
    const std::string attribute = colour.empty() ? "" : " color=\"" + colour + "\"";
    return "<count" + attribute + ">" + std::to_string(length) + "</count>";
}

std::string CluesOf(const std::string& type, const std::string& lines)
{
    return "<clues type=\"" + type + "\">" + lines + "</clues>\n";
}

// Two columns and one row: "1 red, 1 blue" across, a red and a blue cell.
const std::string kTwoColours = "<color name=\"paper\" char=\"-\">ffe</color>\n"
                                "<color name=\"red\" char=\"r\">C02020</color>\n"
                                "<color name=\"blue\" char=\"b\">#2040a0</color>\n" +
                                CluesOf("columns", Line(Count(1)) + Line(Count(1, "blue"))) +
                                CluesOf("rows", Line(Count(1) + Count(1, "blue")));

std::unique_ptr<CTessGrid> Xml(const std::string& text)
{
    return LoadText(text, ".xml");
}

std::string RefusalOf(const std::string& text)
{
    const auto puzzle = Xml(text);
    EXPECT_EQ(puzzle->m_status, LoadRejected) << text;
    return puzzle->m_refusal;
}

TEST(WebpbnReader, ColoursCluesGoalAndWhatIsSaidOfThePuzzle)
{
    const std::string body = "<title> Two &amp; two </title><author>A. Uthor</author>"
                             "<copyright>&#169; 2024</copyright><id>#12</id><description>Cells</description>\n" +
                             kTwoColours + "<solution type=\"goal\"><image>\n|rb|\n</image></solution>\n";
    const auto puzzle = Xml(Set(Puzzle(body, "type=\"grid\" backgroundcolor=\"paper\" defaultcolor=\"red\"")));
    ASSERT_EQ(puzzle->m_status, LoadOk) << puzzle->m_refusal;
    EXPECT_EQ(puzzle->m_colourCount, 3);
    EXPECT_EQ(puzzle->m_palette[0], MakeColour(0xFF, 0xFF, 0xEE));
    EXPECT_EQ(puzzle->m_palette[1], MakeColour(0xC0, 0x20, 0x20));
    EXPECT_EQ(puzzle->m_palette[2], MakeColour(0x20, 0x40, 0xA0));
    EXPECT_EQ(LineOf(*puzzle->m_columnClues, 1), Clues({{1, 2}}));
    EXPECT_EQ(LineOf(*puzzle->m_rowClues, 0), Clues({{1, 1}, {1, 2}}));
    EXPECT_EQ(puzzle->m_noPicture, 0);
    EXPECT_EQ(LineOf(*puzzle->m_picture, 0), (Bytes{1, 2}));
    EXPECT_EQ(puzzle->m_metadata, (PuzzleMetadata{"Two & two", "A. Uthor", "\u00A9 2024", "", "#12", "Cells"}));
    EXPECT_TRUE(puzzle->m_puzzleSet.empty());
}

TEST(WebpbnReader, BlackAndWhiteNeedNoColourElements)
{
    const std::string body = CluesOf("columns", Line(Count(2)) + Line("")) + CluesOf("rows", Line(Count(1)) + "<line/>") +
                             "<solution><image>|X.|\n|X.|</image></solution>";
    const auto puzzle = Xml(Set(Puzzle(body)));
    ASSERT_EQ(puzzle->m_status, LoadOk) << puzzle->m_refusal;
    EXPECT_EQ(puzzle->m_colourCount, 2);
    EXPECT_EQ(puzzle->m_palette[0], kWhite);
    EXPECT_EQ(puzzle->m_palette[1], kBlack);
    EXPECT_EQ(puzzle->m_rowClues->LineCount(), 2);
    EXPECT_EQ(LineOf(*puzzle->m_picture, 1), (Bytes{1, 0}));
}

TEST(WebpbnReader, AGoalWithoutCluesGivesThemAndCluesWithoutAGoalAnEmptyGrid)
{
    const auto goal = Xml(Set(Puzzle("<solution type=\"goal\"><image>|X.X|\n|XXX|</image></solution>")));
    ASSERT_EQ(goal->m_status, LoadOk) << goal->m_refusal;
    EXPECT_EQ(LineOf(*goal->m_rowClues, 0), Clues({{1, 1}, {1, 1}}));
    EXPECT_EQ(LineOf(*goal->m_columnClues, 0), Clues({{2, 1}}));

    // Saved solutions are a player's work, not the goal.
    const auto clues = Xml(Set(Puzzle(CluesOf("rows", Line(Count(1))) + CluesOf("columns", Line(Count(1))) +
                                      "<solution type=\"saved\"><image>|.|</image></solution>")));
    ASSERT_EQ(clues->m_status, LoadOk) << clues->m_refusal;
    EXPECT_EQ(clues->m_noPicture, 1);
    EXPECT_EQ(LineOf(*clues->m_picture, 0), Bytes{0});
}

TEST(WebpbnReader, ASetShowsItsFirstPuzzleAndListsThemAll)
{
    const std::string first = Puzzle("<title>One</title><id>1</id>" + CluesOf("rows", Line(Count(2))) +
                                     CluesOf("columns", Line(Count(1)) + Line(Count(1))));
    const std::string second = Puzzle("<title>Two</title><id>2</id>" + CluesOf("rows", Line("") + Line("") + Line("")),
                                      "type=\"grid\"");
    const std::string third = Puzzle("<title>Three</title><clues type=\"top\"><line/></clues>", "type=\"triddler\"");
    const auto puzzle = Xml(Set(first + second + third));
    ASSERT_EQ(puzzle->m_status, LoadOk) << puzzle->m_refusal;
    EXPECT_EQ(puzzle->m_width, 2);
    EXPECT_EQ(puzzle->m_metadata.title, "One");
    ASSERT_EQ(puzzle->m_puzzleSet.size(), 3u);
    EXPECT_EQ(puzzle->m_puzzleSet[0].title, "One");
    EXPECT_EQ(puzzle->m_puzzleSet[0].width, 2);
    EXPECT_EQ(puzzle->m_puzzleSet[1].id, "2");
    EXPECT_EQ(puzzle->m_puzzleSet[1].height, 3);
    EXPECT_EQ(puzzle->m_puzzleSet[2].type, "triddler");
}

TEST(WebpbnReader, WhatTheModelCannotHoldIsRefusedWithTheReason)
{
    std::string colours;
    for (int i = 0; i < 16; ++i)
        colours += "<color name=\"c" + std::to_string(i) + "\">000</color>";
    EXPECT_EQ(RefusalOf(Set(Puzzle(colours))), "webpbn XML: more than 16 colours");
    EXPECT_EQ(RefusalOf(Set(Puzzle(CluesOf("rows", Line(Count(128))) + CluesOf("columns", Line(""))))),
              "webpbn XML: a clue of 128 (1 to 127)");
    std::string counts;
    for (int i = 0; i < 256; ++i)
        counts += Count(1);
    EXPECT_EQ(RefusalOf(Set(Puzzle(CluesOf("rows", Line(counts))))), "webpbn XML: a line of more than 255 clues");
    std::string lines;
    for (int i = 0; i < 256; ++i)
        lines += "<line/>";
    EXPECT_EQ(RefusalOf(Set(Puzzle(CluesOf("columns", lines)))), "webpbn XML: more than 255 columns");
    EXPECT_EQ(RefusalOf(Set(Puzzle("<solution><image>|" + std::string(256, '.') + "|</image></solution>"))),
              "webpbn XML: 256 columns (at most 255)");
}

TEST(WebpbnReader, CluesAndGoalMustMakeSense)
{
    EXPECT_EQ(RefusalOf(Set(Puzzle("", "type=\"triddler\""))),
              "webpbn XML: a puzzle of type \"triddler\"; only grids are shown");
    EXPECT_EQ(RefusalOf(Set(Puzzle(CluesOf("rows", Line(Count(1, "white"))) + CluesOf("columns", Line(""))))),
              "webpbn XML: a clue in the background colour");
    EXPECT_EQ(RefusalOf(Set(Puzzle(CluesOf("rows", Line(Count(1, "green"))) + CluesOf("columns", Line(""))))),
              "webpbn XML: the colour \"green\", which the puzzle does not define");
    EXPECT_EQ(RefusalOf(Set(Puzzle("<solution><image>|X?|</image></solution>"))),
              "webpbn XML: the goal cell \"?\", which is no colour's char");
    EXPECT_EQ(RefusalOf(Set(Puzzle("<solution><image>|XX|\n|X|</image></solution>"))),
              "webpbn XML: goal image rows of different lengths");
    EXPECT_EQ(RefusalOf(Set(Puzzle(CluesOf("rows", Line(Count(1))) + CluesOf("columns", Line(Count(1))) +
                                   "<solution><image>|XX|</image></solution>"))),
              "webpbn XML: a goal image of 2 x 1 cells for clues of 1 x 1");
    EXPECT_EQ(RefusalOf(Set(Puzzle(CluesOf("rows", Line(Count(1)))))), "webpbn XML: row clues without column clues");
    EXPECT_EQ(RefusalOf(Set(Puzzle(""))), "webpbn XML: neither clues nor a picture");
    EXPECT_EQ(RefusalOf(Set("")), "webpbn XML: a puzzle set without a puzzle");
    EXPECT_EQ(RefusalOf("<puzzleset><puzzle><count>x</count></puzzle></puzzleset>").substr(0, 12), "webpbn XML: ");
    EXPECT_EQ(RefusalOf(Set(Puzzle(CluesOf("rows", Line("<count>two</count>")) + CluesOf("columns", Line(""))))),
              "webpbn XML: a count that is no number: \"two\"");
}

// Found by fuzz_xml: a count that stood outside a line of clues was added to
// a line that did not exist.
TEST(WebpbnReader, OnlyCountsInALineOfCluesAreClues)
{
    const auto puzzle = Xml(Set(Puzzle(CluesOf("rows", "<li>" + Line(Count(1)) + "</li>") +
                                       CluesOf("columns", Line("")) + Line(Count(2)))));
    ASSERT_EQ(puzzle->m_status, LoadOk) << puzzle->m_refusal;
    EXPECT_EQ(puzzle->m_height, 0);
    EXPECT_FALSE(puzzle->m_rowClues);
}

TEST(WebpbnReader, NestingIsBounded)
{
    std::string open;
    std::string close;
    for (int i = 0; i < 20000; ++i) {
        open += "<a>";
        close = "</a>" + close;
    }
    EXPECT_EQ(RefusalOf("<puzzleset>" + open + close + "</puzzleset>"), "webpbn XML: elements nested more than 16 deep");
}

// The same files as the Windows lister host shows under Wine: XmlLite and
// expat must agree on each.
TEST(WebpbnReader, DoctypesEntitiesAndDtdsAsOnWindows)
{
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(GRIDLOOK_SOURCE_DIR "/tests/webpbn")) {
        const std::string name = entry.path().filename().string();
        const CTessGrid puzzle(entry.path().string());
        EXPECT_EQ(puzzle.m_status, name.starts_with("shows-") ? LoadOk : LoadRejected) << name << ": "
                                                                                         << puzzle.m_refusal;
        ++files;
    }
    EXPECT_GE(files, 10);
    const CTessGrid references(GRIDLOOK_SOURCE_DIR "/tests/webpbn/shows-no-doctype.xml");
    EXPECT_EQ(references.m_metadata.title, "Predefined entities & <references> \u00E9\u20AC and <CDATA>");
}

} // namespace
