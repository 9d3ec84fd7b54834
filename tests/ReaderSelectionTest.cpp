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

TEST(ReaderSelection, UnreadablePathsAreFileErrors)
{
    EXPECT_EQ(CTessGrid(TestFolder() + "/missing.tgr").m_status, LoadFileError);
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
    const std::string path = TestFolder() + "/pipe.tgr";
    ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
    EXPECT_EQ(CTessGrid(path).m_status, LoadFileError);
}

} // namespace
