// gridlook convert as a user runs it: the format by name or by --to, the
// refusals and their exit status, --solution, and the output file.
#include "support/GridlookTool.h"
#include "support/PuzzleFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>

namespace {

const std::string kExamples = GRIDLOOK_SOURCE_DIR "/examples/";

// A folder of the test's own, named `name`, holding copies of the examples named.
std::string FolderWith(const std::string& name, const std::vector<std::string>& examples)
{
    const std::string folder = TestFolder() + "/" + name;
    std::filesystem::create_directories(folder);
    for (const std::string& example : examples)
        std::filesystem::copy_file(kExamples + example, folder + "/" + example);
    return folder;
}

TEST(ConvertCommand, UsageErrorsExitWithTwo)
{
    for (const char* arguments : {"convert x",
                                  "convert x -o a.tgr",
                                  "convert x -o a.TGW",
                                  "convert x -o a.nin",
                                  "convert x -o a.g",
                                  "convert x -o a.mk",
                                  "convert x y -o a.pp",
                                  "convert x -d d",
                                  "convert x -o a.pp -d d --to pp",
                                  "convert x -o a.pp --to pp",
                                  "convert x -d d --to tgr",
                                  "convert x -d d --to pp --drop colours",
                                  "convert --json x -o a.pp",
                                  "convert --blank x -o a.pp",
                                  "convert --solution x -o a.tgp",
                                  "convert --solution --drop picture x -o a.pp",
                                  "info --to pp x",
                                  "render --drop picture x -o y.png",
                                  "solve --solution x",
                                  "info --max-seconds 3 x"}) {
        const ToolRun run = Gridlook(arguments);
        EXPECT_EQ(run.exitStatus, 2) << arguments;
        EXPECT_NE(run.err.find("usage:"), std::string::npos) << arguments;
    }
}

TEST(ConvertCommand, TheFormatComesFromTheExtensionOrFromTo)
{
    const std::string folder = FolderWith("by-name", {"heart.tessa", "house.tgp"});
    // The heart is a native picture, so it is written as it was.
    ASSERT_EQ(Gridlook("convert " + folder + "/heart.tessa -o " + folder + "/heart.dat").exitStatus, 0);
    EXPECT_EQ(FileContents(folder + "/heart.dat"), FileContents(folder + "/heart.tessa"));
    ASSERT_EQ(Gridlook("convert " + folder + "/heart.tessa -o " + folder + "/heart.PPC").exitStatus, 0);
    EXPECT_TRUE(FileContents(folder + "/heart.PPC").starts_with("10 9\n"));

    const ToolRun run =
        Gridlook("convert " + folder + "/heart.tessa " + folder + "/house.tgp -d " + folder + "/converted --to non");
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(FolderNames(folder + "/converted"), (std::vector<std::string>{"heart.non", "house.non"}));
    EXPECT_EQ(Gridlook("info " + folder + "/converted/heart.non " + folder + "/converted/house.non").exitStatus, 0);
}

TEST(ConvertCommand, ASecondPuzzleOfTheSameNameIsNotWrittenOverTheFirst)
{
    const std::string folder = FolderWith("same-name", {"house.tgp", "cup.pp"});
    std::filesystem::copy_file(folder + "/cup.pp", folder + "/house.pp");
    const ToolRun run = Gridlook("convert " + folder + "/house.tgp " + folder + "/house.pp " + folder + "/cup.pp -d " +
                                 folder + "/out --to native");
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_EQ(run.err, "gridlook: " + folder + "/house.pp: cannot write " + folder +
                           "/out/house.tessa: another file of this run was written there\n");
    EXPECT_EQ(FolderNames(folder + "/out"), (std::vector<std::string>{"cup.tessa", "house.tessa"}));
    EXPECT_EQ(Gridlook("solve " + folder + "/out/house.tessa").out.find("the picture"), std::string::npos);
}

TEST(ConvertCommand, WhatTheFormatCannotHoldIsRefusedWithStatusThree)
{
    const std::string folder = FolderWith("refused", {"sailboat.tessa", "cup.pp"});
    const ToolRun colours = Gridlook("convert " + folder + "/sailboat.tessa -o " + folder + "/sailboat.pp");
    EXPECT_EQ(colours.exitStatus, 3);
    EXPECT_EQ(colours.err, "gridlook: " + folder +
                               "/sailboat.tessa: not converted to a .pp file: it is in colour, "
                               "and a .pp file has the background and one ink\n");

    const ToolRun marks = Gridlook("convert " + folder + "/cup.pp -o " + folder + "/cup.xml");
    EXPECT_EQ(marks.exitStatus, 3);
    EXPECT_NE(marks.err.find("(--drop marks leaves them out)"), std::string::npos) << marks.err;
    EXPECT_EQ(FolderNames(folder), (std::vector<std::string>{"cup.pp", "sailboat.tessa"}));

    const ToolRun dropped = Gridlook("convert --drop marks,crossed " + folder + "/cup.pp -o " + folder + "/cup.xml");
    EXPECT_EQ(dropped.exitStatus, 0) << dropped.err;
    EXPECT_EQ(FileContents(folder + "/cup.xml").find("|0"), std::string::npos);

    const ToolRun notLoaded = Gridlook("convert " + folder + "/missing.pp -o " + folder + "/missing.tessa");
    EXPECT_EQ(notLoaded.exitStatus, 4);
}

// A clue-only puzzle gets its solution as the picture only when asked, and
// only a unique one.
TEST(ConvertCommand, TheSolutionOnlyWithSolution)
{
    const std::string folder = FolderWith("solution", {"house.tgp"});
    ASSERT_EQ(Gridlook("convert " + folder + "/house.tgp -o " + folder + "/clues.tessa").exitStatus, 0);
    EXPECT_EQ(Gridlook("solve " + folder + "/clues.tessa").out.find("the picture"), std::string::npos);
    ASSERT_EQ(Gridlook("convert --solution " + folder + "/house.tgp -o " + folder + "/solved.tessa").exitStatus, 0);
    EXPECT_NE(Gridlook("solve " + folder + "/solved.tessa").out.find("the picture is the solution"), std::string::npos);

    const std::string diagonal = WriteTestFile(std::string("2 2\n1 1\n1 1\n"), ".pp");
    const ToolRun several = Gridlook("convert --solution " + diagonal + " -o " + folder + "/diagonal.pp");
    EXPECT_EQ(several.exitStatus, 5);
    EXPECT_NE(several.err.find(": not converted: several solutions"), std::string::npos) << several.err;
    EXPECT_FALSE(std::filesystem::exists(folder + "/diagonal.pp"));
}

// A clue holds a run of 127 cells at most: a native file keeps the picture
// whose longer run made the clue, and its reader makes the clue again, so the
// solver still finds the run's length; a format that stores clues refuses.
TEST(ConvertCommand, ARunLongerThanAClueHoldsKeepsItsLengthOrIsRefused)
{
    const std::string folder = FolderWith("long-run", {});
    Bytes bar{200, 1};
    bar.resize(bar.size() + 200, 2);
    const std::string tgw = WriteTestFile(bar, ".tgw");
    ASSERT_EQ(Gridlook("convert " + tgw + " -o " + folder + "/bar.tessa").exitStatus, 0);
    const ToolRun solved = Gridlook("solve " + folder + "/bar.tessa");
    EXPECT_EQ(solved.exitStatus, 0) << solved.out;
    const ToolRun refused = Gridlook("convert " + tgw + " -o " + folder + "/bar.non");
    EXPECT_EQ(refused.exitStatus, 3);
    EXPECT_NE(refused.err.find("a run of more than 127 cells in row 1"), std::string::npos) << refused.err;
}

// The converted file goes through the output file of every command: a file
// the user may not write keeps its contents, and so does one that a full disk
// or a file size limit leaves incomplete.
TEST(ConvertCommand, TheOutputKeepsItsOldContentsWhenItCannotBeWritten)
{
    const std::string folder = FolderWith("output", {"sailboat.tessa"});
    const std::string output = folder + "/sailboat.xml";
    std::ofstream(output) << "old puzzle";
    const ToolRun limited = GridlookWithFileLimit("convert " + folder + "/sailboat.tessa -o " + output, 1000);
    EXPECT_EQ(limited.exitStatus, 1);
    EXPECT_EQ(limited.err, "gridlook: " + folder + "/sailboat.tessa: cannot write " + output + ": File too large\n");
    EXPECT_EQ(FileContents(output), "old puzzle");
    EXPECT_EQ(FolderNames(folder), (std::vector<std::string>{"sailboat.tessa", "sailboat.xml"}));

    ASSERT_EQ(chmod(output.c_str(), 0444), 0);
    for (const std::string& path : {folder, folder + "/sailboat.tessa", output})
        ASSERT_TRUE(GiveToUnprivileged(path));
    if (GridlookUnprivileged("--help").exitStatus != 0)
        GTEST_SKIP() << "the unprivileged user cannot run " GRIDLOOK_EXECUTABLE;
    const ToolRun readOnly = GridlookUnprivileged("convert " + folder + "/sailboat.tessa -o " + output);
    EXPECT_EQ(readOnly.exitStatus, 1);
    EXPECT_NE(readOnly.err.find(": Permission denied"), std::string::npos) << readOnly.err;
    EXPECT_EQ(FileContents(output), "old puzzle");
}

} // namespace
