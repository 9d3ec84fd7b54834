// gridlook solve and render --blank / --solution as a user runs them: lines,
// JSON, exit statuses and pictures.
#include "support/GridlookTool.h"
#include "support/Pixels.h"
#include "support/PuzzleFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>

namespace {

const std::string kDiagonal = "2 2\n1 1\n1 1\n";

std::string Pp(const std::string& text)
{
    return WriteTestFile(text, ".pp");
}

// A plus sign in a 5 x 5 grid, its picture as .tgw states and its clues as a
// .tgr file: one slot per line, as the .tgw derivation gives it.
std::string PlusTgw()
{
    Bytes bytes{5, 5};
    for (int column = 0; column < 5; ++column) {
        for (int row = 0; row < 5; ++row)
            bytes.push_back(row == 2 || column == 2 ? 2 : 0);
    }
    return WriteTestFile(bytes, ".tgw");
}

std::string PlusTgr()
{
    return WriteTestFile(Bytes{5, 5, 1, 1, 1, 1, 5, 1, 1, 1, 1, 5, 1, 1}, ".tgr");
}

// A .tgw whose rows have their first `filled[row]` cells filled.
std::string FilledFromTheLeftTgw(int width, const std::vector<int>& filled)
{
    const int height = static_cast<int>(filled.size());
    Bytes bytes{static_cast<std::uint8_t>(width), static_cast<std::uint8_t>(height)};
    for (int column = 0; column < width; ++column) {
        for (int row = 0; row < height; ++row)
            bytes.push_back(column < filled[row] ? 2 : 0);
    }
    return WriteTestFile(bytes, ".tgw");
}

RasterBitmap Rendered(const std::string& arguments)
{
    static int counter = 0;
    const std::string output = TestFolder() + "/solve" + std::to_string(++counter) + ".png";
    const ToolRun run = Gridlook("render " + arguments + " -o " + output);
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    RasterBitmap bitmap;
    EXPECT_TRUE(ReadPng(output, bitmap));
    return bitmap;
}

TEST(SolveCommand, OneLinePerFileAndTheExitStatusOfTheAnswer)
{
    const ToolRun unique = Gridlook("solve " + Pp("4 4\n1 1 1 1\n11 2 - -\n"));
    EXPECT_EQ(unique.exitStatus, 0);
    EXPECT_NE(unique.out.find(": one solution; line logic stops after 1 pass with 8 of 16 cells known; "),
              std::string::npos)
        << unique.out;

    const ToolRun several = Gridlook("solve " + Pp(kDiagonal));
    EXPECT_EQ(several.exitStatus, 5);
    EXPECT_NE(several.out.find(": several solutions, two of them differ at row 1, column 1; "), std::string::npos);

    const ToolRun none = Gridlook("solve " + Pp("2 2\n2 2\n1 1\n"));
    EXPECT_EQ(none.exitStatus, 5);
    EXPECT_NE(none.out.find(": no solution; line logic finds a line that nothing fits in 2 passes; "),
              std::string::npos);

    // A millionth of a second is gone before the first line of 255 cells.
    Bytes largest{255, 255, 1, 1};
    largest.resize(4 + 2 * 255, 255);
    const ToolRun undecided = Gridlook("solve --max-seconds 0.000001 " + WriteTestFile(largest, ".tgr"));
    EXPECT_EQ(undecided.exitStatus, 6);
    EXPECT_NE(undecided.out.find(": undecided within 1e-06 s; line logic did not finish; "), std::string::npos)
        << undecided.out;
}

TEST(SolveCommand, FirstFailureDecides)
{
    const std::string missing = TestFolder() + "/missing.tgr";
    const ToolRun run = Gridlook("solve " + Pp("1 1\n1\n1\n") + " " + Pp(kDiagonal) + " " + missing);
    EXPECT_EQ(run.exitStatus, 5);
    EXPECT_EQ(std::ranges::count(run.out, '\n'), 2) << run.out;
    EXPECT_NE(run.err.find(missing + ": could not be read"), std::string::npos);
    EXPECT_EQ(Gridlook("solve " + missing + " " + Pp(kDiagonal)).exitStatus, 4);
}

TEST(SolveCommand, JsonGivesTheSolutions)
{
    const std::string path = Pp(kDiagonal);
    const ToolRun run = Gridlook("solve --json " + path);
    const std::string json = std::regex_replace(run.out, std::regex("\"seconds\": [0-9.]+"), "\"seconds\": S");
    EXPECT_EQ(json, "{\"file\": \"" + path +
                        "\", \"status\": 0, \"answer\": \"several\", \"lineLogic\": \"stalls\", \"passes\": 0, "
                        "\"knownCells\": 0, \"cells\": 4, \"seconds\": S, \"pictureFits\": null, "
                        "\"longRuns\": {\"rows\": [], \"columns\": []}, "
                        "\"solutions\": [[[0, 1], [1, 0]], [[1, 0], [0, 1]]]}\n");
    const ToolRun missing = Gridlook("solve --json " + TestFolder() + "/missing.pp");
    EXPECT_EQ(missing.out, "{\"file\": \"" + TestFolder() + "/missing.pp\", \"status\": 4}\n");
}

TEST(SolveCommand, APictureIsCheckedAgainstItsClues)
{
    EXPECT_NE(Gridlook("solve " + PlusTgw()).out.find("; the picture is the solution; "), std::string::npos);
    NativeFile file;
    file.width = 2;
    file.height = 1;
    file.rowClueMax = 1;
    file.rowClues = {2, 1};
    file.columnClueMax = 1;
    file.columnClues = {1, 1, 1, 1};
    file.picture = {1, 0};
    const ToolRun misfit = Gridlook("solve " + WriteTestFile(file.ToBytes(), ".tgn"));
    EXPECT_EQ(misfit.exitStatus, 0);
    EXPECT_NE(misfit.out.find(": one solution; line logic solves it in 1 pass; the picture does not fit its clues; "),
              std::string::npos)
        << misfit.out;
}

TEST(SolveCommand, NamesTheLinesWhoseRunsAClueCannotHold)
{
    const std::string rows = FilledFromTheLeftTgw(200, {128, 127, 200});
    const ToolRun text = Gridlook("solve " + rows);
    EXPECT_EQ(text.exitStatus, 0);
    EXPECT_NE(text.out.find(rows + ": one solution; "), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("; the picture is the solution; rows 1 and 3 hold runs longer than a clue can show "
                            "(127), taken from the picture; "),
              std::string::npos)
        << text.out;
    const ToolRun json = Gridlook("solve --json " + rows);
    EXPECT_NE(json.out.find("\"answer\": \"unique\""), std::string::npos);
    EXPECT_NE(json.out.find("\"pictureFits\": true, \"longRuns\": {\"rows\": [1, 3], \"columns\": []}, "),
              std::string::npos);

    EXPECT_NE(Gridlook("solve " + FilledFromTheLeftTgw(128, {128})).out.find("; row 1 holds a run longer than"),
              std::string::npos);
    const ToolRun mixed = Gridlook("solve " + FilledFromTheLeftTgw(130, {128, 0, 128, 128, 128, 0, 128}));
    EXPECT_NE(mixed.out.find("; rows 1, 3-5 and 7 hold runs longer than"), std::string::npos) << mixed.out;
    const ToolRun full = Gridlook("solve " + FilledFromTheLeftTgw(255, std::vector<int>(255, 255)));
    EXPECT_NE(full.out.find("; rows 1-255 and columns 1-255 hold runs longer than"), std::string::npos) << full.out;
    // Only the lines that need it: runs of 127 fit a clue.
    EXPECT_EQ(Gridlook("solve " + FilledFromTheLeftTgw(127, {127})).out.find("longer than"), std::string::npos);

    // The viewer's clues stay as stored; the grid holds the solution, which is the picture.
    EXPECT_EQ(DifferingPixels(Rendered("--solution " + rows), Rendered(rows)), 0);
}

TEST(SolveCommand, RenderBlankLeavesThePictureOut)
{
    NativeFile file;
    file.colourCount = 3;
    file.width = 3;
    file.height = 2;
    file.rowClueMax = 1;
    file.rowClues = {2, 1, 1, 2};
    file.columnClueMax = 1;
    file.columnClues = {1, 1, 1, 1, 1, 2};
    file.picture = PictureBytes({"11.", "..2"});
    const std::string withPicture = WriteTestFile(file.ToBytes(), ".tgn");
    file.noPicture = 1;
    file.picture.clear();
    const std::string withoutPicture = WriteTestFile(file.ToBytes(), ".tgn");

    const RasterBitmap blank = Rendered("--blank " + withPicture);
    EXPECT_EQ(DifferingPixels(blank, Rendered(withoutPicture)), 0);
    EXPECT_GT(DifferingPixels(blank, Rendered(withPicture)), 0);
    // The solution of the clues is the picture the file held.
    EXPECT_EQ(DifferingPixels(Rendered("--solution " + withoutPicture), Rendered(withPicture)), 0);
}

TEST(SolveCommand, RenderSolutionPaintsTheUniqueSolution)
{
    EXPECT_EQ(DifferingPixels(Rendered("--solution " + PlusTgr()), Rendered(PlusTgw())), 0);
    EXPECT_GT(DifferingPixels(Rendered(PlusTgr()), Rendered(PlusTgw())), 0);
}

TEST(SolveCommand, RenderSolutionRefusesWithoutAUniqueSolution)
{
    const std::string output = TestFolder() + "/not-painted.png";
    const std::string path = Pp(kDiagonal);
    const ToolRun run = Gridlook("render --solution " + path + " -o " + output);
    EXPECT_EQ(run.exitStatus, 5);
    EXPECT_EQ(run.err, "gridlook: " + path + ": nothing painted: several solutions, two of them differ at row 1, column 1\n");
    RasterBitmap bitmap;
    EXPECT_FALSE(ReadPng(output, bitmap));
    EXPECT_EQ(Gridlook("render --solution " + Pp("2 2\n2 2\n1 1\n") + " -o " + output).exitStatus, 5);
}

TEST(SolveCommand, UsageErrors)
{
    for (const char* arguments : {"render --blank --solution x -o y.png", "solve --blank x", "info --solution x",
                                  "info --max-seconds 1 x", "render --max-seconds 1 x -o y.png",
                                  "solve --max-seconds 0 x", "solve --max-seconds 1e9 x", "solve --max-seconds x x",
                                  "solve -o y.png x", "solve"}) {
        const ToolRun run = Gridlook(arguments);
        EXPECT_EQ(run.exitStatus, 2) << arguments;
        EXPECT_NE(run.err.find("usage:"), std::string::npos) << arguments;
    }
}

} // namespace
