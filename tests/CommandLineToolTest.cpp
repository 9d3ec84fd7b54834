// The gridlook command as a user runs it: output, stderr and exit status.
#include "support/GridlookTool.h"
#include "support/Pixels.h"
#include "support/PuzzleFiles.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

TEST(CommandLineTool, JsonHoldsEveryMemberOfTheModel)
{
    NativeFile file;
    file.width = 2;
    file.height = 1;
    file.picture = {1, 0};
    const ToolRun run = Gridlook("info --json " + WriteTestFile(file.ToBytes(), ".tgn"));
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.out, "{\"status\": 0, \"width\": 2, \"height\": 1, \"colourCount\": 2, \"noPicture\": 0, "
                       "\"palette\": [16777215, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0], "
                       "\"dark\": [0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1], "
                       "\"rowClueMax\": 1, \"columnClueMax\": 1, \"columnClues\": [[[1, 1]], [[0, 0]]], "
                       "\"rowClues\": [[[1, 1]]], \"picture\": [[1, 0]], "
                       "\"settings\": {\"options1\": [0, 1, 1, 12, 3, 3, 1, 1, 1], \"filledColour\": 49152, "
                       "\"options3\": [0, 1, 1, 1, 1, 1, 1, 1, 100]}, \"layoutWidth\": 40, \"layoutHeight\": 28}\n");
}

TEST(CommandLineTool, SettingOptionsReachTheModelBeforeTheReader)
{
    const ToolRun run = Gridlook("info --json --ink 0000FF --cell-size 20 --text-digits --single-strike --no-centre " +
                             WriteTestFile(Bytes{0, 0, 0, 0}, ".tgr"));
    EXPECT_NE(run.out.find("\"palette\": [16777215, 16711680, 0"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\"options1\": [1, 0, 1, 20, 3"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\"options3\": [0, 1, 1, 0, 1"), std::string::npos) << run.out;
}

TEST(CommandLineTool, FirstFailureDecidesTheExitStatus)
{
    const std::string good = WriteTestFile(Bytes{0, 0, 0, 0}, ".tgr");
    const std::string refused = WriteTestFile(Bytes(80, 0), ".dat");
    const std::string missing = TestFolder() + "/missing.tgr";

    const ToolRun refusedFirst = Gridlook("info " + good + " " + refused + " " + missing);
    EXPECT_EQ(refusedFirst.exitStatus, 3);
    EXPECT_NE(refusedFirst.out.find(good), std::string::npos);
    EXPECT_EQ(std::count(refusedFirst.err.begin(), refusedFirst.err.end(), '\n'), 2) << refusedFirst.err;
    EXPECT_NE(refusedFirst.err.find(refused + ": "), std::string::npos);

    const ToolRun json = Gridlook("info --json " + missing);
    EXPECT_EQ(json.exitStatus, 4);
    EXPECT_EQ(json.out, "{\"status\": 4}\n");
}

TEST(CommandLineTool, RenderWritesTheScrollAreaAsPng)
{
    const std::string output = TestFolder() + "/one.png";
    const ToolRun run = Gridlook("render --cell-size 20 " + WriteTestFile(Bytes{3, 2, 1, 1, 1, 2, 3, 4, 5}, ".tgr") +
                                 " -o " + output);
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    RasterBitmap bitmap;
    ASSERT_TRUE(ReadPng(output, bitmap));
    EXPECT_EQ(bitmap.width, (1 + 3) * 20 + 4 + 30);
    EXPECT_EQ(bitmap.height, (1 + 2) * 20 + 4 + 30);
}

TEST(CommandLineTool, RenderIntoAFolderGoesOnPastFailures)
{
    const std::string good = WriteTestFile(Bytes{0, 0, 0, 0}, ".tgr");
    const std::string bad = WriteTestFile(Bytes{0, 0}, ".tgr");
    const std::string folder = TestFolder() + "/pictures";
    const ToolRun run = Gridlook("render " + bad + " " + good + " -d " + folder);
    EXPECT_EQ(run.exitStatus, 4);
    EXPECT_NE(run.err.find(bad), std::string::npos);
    RasterBitmap bitmap;
    EXPECT_TRUE(ReadPng(folder + "/" + good.substr(good.rfind('/') + 1) + ".png", bitmap));
}

TEST(CommandLineTool, PictureTooLargeIsRefusedWithItsSize)
{
    const ToolRun run = Gridlook("render --cell-size 255 " + WriteTestFile(Bytes{255, 255, 0, 0}, ".tgr") + " -o " +
                                 TestFolder() + "/huge.png");
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_NE(run.err.find("65109 x 65109 pixels"), std::string::npos) << run.err;
}

TEST(CommandLineTool, ThumbnailThatFitsIsTheRenderedPictureAndALargerOneIsShrunk)
{
    const std::string puzzle = WriteTestFile(Bytes{3, 2, 1, 1, 1, 2, 3, 4, 5}, ".tgr");
    const std::string rendered = TestFolder() + "/rendered.png";
    const std::string whole = TestFolder() + "/whole.png";
    const std::string shrunk = TestFolder() + "/shrunk.png";
    ASSERT_EQ(Gridlook("render " + puzzle + " -o " + rendered).exitStatus, 0);
    const ToolRun wholeRun = Gridlook("thumbnail -s 128 " + puzzle + " " + whole);
    const ToolRun shrunkRun = Gridlook("thumbnail --cell-size 30 -s 50 " + puzzle + " " + shrunk);
    EXPECT_EQ(wholeRun.exitStatus, 0) << wholeRun.err;
    EXPECT_EQ(shrunkRun.exitStatus, 0) << shrunkRun.err;
    RasterBitmap expected;
    RasterBitmap fits;
    RasterBitmap smaller;
    ASSERT_TRUE(ReadPng(rendered, expected) && ReadPng(whole, fits) && ReadPng(shrunk, smaller));
    EXPECT_EQ(DifferingPixels(fits, expected), 0);
    // 66 x 58 at cell size 8, the smallest that holds the digits.
    EXPECT_EQ(smaller.width, 50);
    EXPECT_EQ(smaller.height, 44);
}

TEST(CommandLineTool, ThumbnailOfAFileThatDoesNotLoadWritesNothing)
{
    const std::string output = TestFolder() + "/not-written.png";
    const ToolRun refused = Gridlook("thumbnail -s 128 " + WriteTestFile(Bytes(80, 0), ".dat") + " " + output);
    const ToolRun missing = Gridlook("thumbnail -s 128 " + TestFolder() + "/missing.tgr " + output);
    EXPECT_EQ(refused.exitStatus, 3);
    EXPECT_EQ(missing.exitStatus, 4);
    EXPECT_EQ(std::count(refused.err.begin(), refused.err.end(), '\n'), 1) << refused.err;
    RasterBitmap bitmap;
    EXPECT_FALSE(ReadPng(output, bitmap));
}

TEST(CommandLineTool, UsageErrorsExitWithTwo)
{
    for (const char* arguments : {"info", "frobnicate x", "info --cell-size 256 x", "info --ink 12345 x",
                                  "info --bogus x", "info x --cell-size", "info x -o y.png", "render x",
                                  "render x y -o z.png", "render x -o y.png -d z", "render --json x -o y.png",
                                  "thumbnail x y.png", "thumbnail -s 0 x y.png", "thumbnail -s 1025 x y.png",
                                  "thumbnail -s 64 x", "thumbnail -s 64 x y.png z.png",
                                  "thumbnail --json -s 64 x y.png", "render -s 64 x -o y.png"}) {
        const ToolRun run = Gridlook(arguments);
        EXPECT_EQ(run.exitStatus, 2) << arguments;
        EXPECT_NE(run.err.find("usage:"), std::string::npos) << arguments;
    }
    EXPECT_EQ(Gridlook("--help").exitStatus, 0);
}

} // namespace
