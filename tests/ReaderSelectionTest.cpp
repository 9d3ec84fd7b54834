#include "readers/PathExtension.h"
#include "support/PuzzleFiles.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace {

const Bytes kTgrFile = {1, 1, 0, 1, 3};

TEST(FindExtension, TakesTheLastDotOfTheFileName)
{
    EXPECT_EQ(FindExtension("a/b/name.tgr"), ".tgr");
    EXPECT_EQ(FindExtension("name.tgr.bak"), ".bak");
    EXPECT_EQ(FindExtension("name"), "");
    EXPECT_EQ(FindExtension("dir.d/name"), "");
    EXPECT_EQ(FindExtension("dir.d\\name"), "");
    EXPECT_EQ(FindExtension("name.with space"), "");
    EXPECT_EQ(FindExtension("name."), ".");
    EXPECT_EQ(FindExtension(".pp"), ".pp");
}

TEST(ReaderSelection, ExtensionsChooseTheirReaderInAnyCase)
{
    for (const char* extension : {".tgr", ".TGR", ".Tgr"})
        EXPECT_EQ(LoadBytes(kTgrFile, extension)->m_status, LoadOk) << extension;
    for (const char* extension : {".pp", ".PPC", ".Pps"})
        EXPECT_EQ(LoadText("1 1\n1\n1\n", extension)->m_status, LoadOk) << extension;
}

TEST(ReaderSelection, EverythingElseGoesToTheNativeReader)
{
    // Too short for the native header and in no public format: refused, not
    // read as a .tgr puzzle.
    for (const char* extension : {".tgrx", ".tg", ".tgr.bak", "", ".dat"})
        EXPECT_EQ(LoadBytes(kTgrFile, extension)->m_status, LoadRejected) << extension;
    Bytes longTgr(80, 0);
    EXPECT_EQ(LoadBytes(longTgr, ".dat")->m_status, LoadRejected);
    EXPECT_EQ(LoadBytes(longTgr, ".tgr")->m_status, LoadOk);
}

// Under any other extension, the native reader comes first: a native file
// named like a public format loads as before, and only what it does not take
// is read by its contents, whatever it is named.
TEST(ReaderSelection, PublicFormatsAreKnownByTheirContents)
{
    NativeFile native;
    native.width = 1;
    native.height = 1;
    native.picture = {1};
    for (const char* extension : {".xml", ".non", ".g", ".mk", ".nin", ".txt"})
        EXPECT_EQ(LoadBytes(native.ToBytes(), extension)->m_noPicture, 0) << extension;

    const std::string nin = "1 1\n1\n1\n";
    for (const char* extension : {".nin", ".txt", ".xml", ""})
        EXPECT_EQ(LoadText(nin, extension)->m_status, LoadOk) << extension;
    // A listed extension keeps its reader: this text is a .pp puzzle, and too
    // short for the .nin puzzle that its contents suggest.
    EXPECT_EQ(LoadText("2 1\n1 1\n1\n", ".pp")->m_status, LoadOk);
    EXPECT_EQ(LoadText("2 1\n1 1\n1\n", ".txt")->m_status, LoadRejected);
    EXPECT_EQ(LoadText("width 1\nheight 1\nrows\n1\ncolumns\n1\n", ".xml")->m_status, LoadOk);
}

// Other programs' files under the public formats' extensions are refused,
// and say so.
TEST(ReaderSelection, OtherFilesOfThoseExtensionsAreRefused)
{
    const char* const others[][2] = {
        {"<?xml version=\"1.0\"?>\n<project><target name=\"all\"/></project>\n", ".xml"},
        {"all: gridlook\n\ngridlook: main.o\n\t$(CXX) -o $@ $^\n", ".mk"},
        {"grammar Expr;\nexpr : expr '+' term\n     | term ;\n", ".g"},
        {"", ".non"},
    };
    for (const auto& [text, extension] : others) {
        const auto puzzle = LoadText(text, extension);
        EXPECT_EQ(puzzle->m_status, LoadRejected) << extension;
        EXPECT_FALSE(puzzle->m_refusal.empty()) << extension;
    }
    EXPECT_EQ(LoadText(std::string(16 * 1024 * 1024 + 1, ' '), ".xml")->m_refusal,
              "neither a native puzzle nor a puzzle text of at most 16 MiB");
    // What is said of a file of another kind quotes no more than a little of it.
    EXPECT_EQ(LoadText(": rows\n\x01\x1b[2J" + std::string(100, 'x') + "\n: columns\n", ".g")->m_refusal,
              "Olšák .g: line 2: a clue that is no number: \"??[2Jxxxxxxxxxxxxxxxxxxx...\"");
    EXPECT_EQ(LoadBytes(Bytes{'1', ' ', '1', '\n', '1', '\n', '1', '\n', 0}, ".nin")->m_refusal,
              "neither a native puzzle nor a text");
    EXPECT_EQ(LoadBytes(Bytes{'T', 'E', 'S', 'S', 'A', 17}, ".xml")->m_status, LoadFileError);
    NativeFile tooManyColours;
    tooManyColours.colourCount = 17;
    EXPECT_EQ(LoadBytes(tooManyColours.ToBytes(), ".xml")->m_refusal, "a native puzzle of 17 colours (2 to 16)");
}

TEST(ReaderSelection, UnreadablePathsAreFileErrors)
{
    EXPECT_EQ(CTessGrid(TestFolder() + "/missing.tgr").m_status, LoadFileError);
    EXPECT_EQ(CTessGrid(TestFolder() + "/missing.xml").m_status, LoadFileError);
    EXPECT_EQ(CTessGrid(TestFolder()).m_status, LoadFileError);
}

// Paths of 260 characters or more are refused even when the file exists.
TEST(ReaderSelection, PathLimitIs259Characters)
{
    std::string folder = TestFolder() + "/";
    while (folder.size() < 240)
        folder += "deep/";
    std::filesystem::create_directories(folder);
    const auto pathOfLength = [&](std::size_t length) {
        return folder + std::string(length - folder.size() - 4, 'n') + ".tgr";
    };
    for (std::size_t length : {259u, 260u}) {
        const std::string path = pathOfLength(length);
        ASSERT_EQ(path.size(), length);
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(kTgrFile.data()), 5);
    }
    EXPECT_EQ(CTessGrid(pathOfLength(259)).m_status, LoadOk);
    EXPECT_EQ(CTessGrid(pathOfLength(260)).m_status, LoadFileError);
}

TEST(ReaderSelection, FifoIsDeclinedWithoutWaitingForAWriter)
{
    for (const char* name : {"/pipe.tgr", "/pipe.xml"}) {
        const std::string path = TestFolder() + name;
        ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
        EXPECT_EQ(CTessGrid(path).m_status, LoadFileError);
    }
}

} // namespace
