// The file that every writer of the command writes through: its target holds
// the old contents or the whole new ones, never anything between, and keeps
// what a person set on it.
#include "cli/OutputFile.h"
#include "support/GridlookTool.h"
#include "support/PuzzleFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>

namespace {

using Names = std::vector<std::string>;

std::string NewFolder(const std::string& name)
{
    const std::string folder = TestFolder() + "/" + name;
    std::filesystem::create_directory(folder);
    return folder;
}

bool WriteWhole(const std::string& target, const std::string& text)
{
    COutputFile file(target);
    return file.Write(text.data(), text.size()) && file.Commit();
}

struct stat StatusOf(const std::string& path)
{
    struct stat status {};
    EXPECT_EQ(lstat(path.c_str(), &status), 0) << path;
    return status;
}

TEST(OutputFile, TheTargetChangesOnlyOnCommit)
{
    const std::string folder = NewFolder("commit");
    const std::string target = folder + "/puzzle.txt";
    std::ofstream(target) << "old";
    {
        COutputFile abandoned(target);
        ASSERT_TRUE(abandoned.Write("new", 3)) << abandoned.Error();
        EXPECT_EQ(FolderNames(folder).size(), 2);
    }
    {
        COutputFile failed(target);
        failed.Fail("the encoder failed");
        EXPECT_FALSE(failed.Write("new", 3));
        EXPECT_FALSE(failed.Commit());
        EXPECT_EQ(failed.Error(), "cannot write " + target + ": the encoder failed");
    }
    EXPECT_EQ(FileContents(target), "old");
    EXPECT_EQ(FolderNames(folder), Names{"puzzle.txt"});
    ASSERT_TRUE(WriteWhole(target, "new text"));
    EXPECT_EQ(FileContents(target), "new text");
    EXPECT_EQ(FolderNames(folder), Names{"puzzle.txt"});
}

// A replacement is made by this process, yet it is the same file to the person
// who owns it; a new file is like any other the person makes.
TEST(OutputFile, AReplacementKeepsTheModeAndOwnerOfTheFileItReplaces)
{
    const std::string folder = NewFolder("modes");
    const std::string kept = folder + "/kept.png";
    std::ofstream(kept) << "old";
    ASSERT_EQ(chmod(kept.c_str(), 0604), 0);
    ASSERT_TRUE(GiveToUnprivileged(kept));
    const struct stat before = StatusOf(kept);
    ASSERT_TRUE(WriteWhole(kept, "new"));
    const struct stat after = StatusOf(kept);
    EXPECT_EQ(after.st_mode & 07777, 0604);
    EXPECT_EQ(after.st_uid, before.st_uid);
    EXPECT_EQ(after.st_gid, before.st_gid);

    const mode_t umaskBefore = umask(027);
    ASSERT_TRUE(WriteWhole(folder + "/new.png", "new"));
    umask(umaskBefore);
    EXPECT_EQ(StatusOf(folder + "/new.png").st_mode & 07777, 0640);
}

TEST(OutputFile, ALinkIsWrittenThroughAndKept)
{
    const std::string folder = NewFolder("links");
    std::ofstream(folder + "/target.png") << "old";
    std::filesystem::create_symlink("target.png", folder + "/link.png");
    std::filesystem::create_symlink("nothing.png", folder + "/dangling.png");
    ASSERT_TRUE(WriteWhole(folder + "/link.png", "new"));
    EXPECT_TRUE(std::filesystem::is_symlink(folder + "/link.png"));
    EXPECT_EQ(FileContents(folder + "/target.png"), "new");

    COutputFile dangling(folder + "/dangling.png");
    EXPECT_EQ(dangling.Error(),
              "cannot write " + folder + "/dangling.png: it is a symbolic link to a file that does not exist");
    EXPECT_EQ(FolderNames(folder), (Names{"dangling.png", "link.png", "target.png"}));
}

} // namespace
