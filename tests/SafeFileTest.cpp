// The exact-read file against other processes: a file held or removed while it
// is read is a file error, and every load lets go of its file.
#include "readers/SafeFile.h"
#include "support/PuzzleFiles.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Whether a second process could take `path` under an exclusive lock at once,
// as a cooperating writer asks before it rewrites a file.
bool AnotherProcessCanLock(const std::string& path)
{
    const pid_t child = fork();
    if (child == 0) {
        const int fd = open(path.c_str(), O_RDONLY);
        _exit(fd >= 0 && flock(fd, LOCK_EX | LOCK_NB) == 0 ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// A second process that holds `path` under an exclusive lock while this lives.
class ExclusiveHolder {
public:
    explicit ExclusiveHolder(const std::string& path)
    {
        int ready[2];
        if (pipe(ready) != 0 || pipe(m_release) != 0)
            return;
        m_child = fork();
        if (m_child == 0) {
            close(m_release[1]);
            const int fd = open(path.c_str(), O_RDONLY);
            const char locked = fd >= 0 && flock(fd, LOCK_EX) == 0 ? 1 : 0;
            (void)!write(ready[1], &locked, 1);
            char ignored = 0;
            (void)!read(m_release[0], &ignored, 1);
            _exit(0);
        }
        close(ready[1]);
        close(m_release[0]);
        (void)!read(ready[0], &m_locked, 1);
        close(ready[0]);
    }
    ~ExclusiveHolder()
    {
        close(m_release[1]);
        waitpid(m_child, nullptr, 0);
    }
    ExclusiveHolder(const ExclusiveHolder&) = delete;
    ExclusiveHolder& operator=(const ExclusiveHolder&) = delete;

    bool Locked() const { return m_locked == 1; }

private:
    pid_t m_child = -1;
    int m_release[2] = {-1, -1};
    char m_locked = 0;
};

const Bytes kTgrFile = {1, 1, 0, 1, 3};

TEST(SafeFile, FileHeldByAnotherProcessIsAFileError)
{
    const std::string path = WriteTestFile(kTgrFile, ".tgr");
    {
        const ExclusiveHolder holder(path);
        ASSERT_TRUE(holder.Locked());
        EXPECT_EQ(CTessGrid(path).m_status, LoadFileError);
    }
    EXPECT_EQ(CTessGrid(path).m_status, LoadOk);
}

TEST(SafeFile, WriterIsHeldOffWhileTheFileIsRead)
{
    const std::string path = WriteTestFile(kTgrFile, ".tgr");
    CSafeFile file(path);
    file.ReadByte();
    EXPECT_FALSE(AnotherProcessCanLock(path));
    file.Close();
    EXPECT_TRUE(AnotherProcessCanLock(path));
}

TEST(SafeFile, FileRemovedWhileItIsReadIsAFileError)
{
    const std::string path = WriteTestFile(kTgrFile, ".tgr");
    CSafeFile file(path);
    file.ReadByte();
    std::filesystem::remove(path);
    EXPECT_THROW(file.ReadByte(), CFileException);

    const std::string unread = WriteTestFile(kTgrFile, ".tgr");
    CSafeFile removedBeforeReading(unread);
    std::filesystem::remove(unread);
    std::string text;
    EXPECT_THROW(removedBeforeReading.ReadToEnd(text, 100), CFileException);
}

TEST(SafeFile, FileCutShortWhileItIsReadIsAFileError)
{
    const std::string path = WriteTestFile(kTgrFile, ".tgr");
    CSafeFile file(path);
    file.ReadByte();
    std::filesystem::resize_file(path, 2);
    file.ReadByte();
    EXPECT_THROW(file.ReadByte(), CFileException);
}

// Loaded, refused and cut short, by every reader.
TEST(SafeFile, EveryLoadLetsGoOfItsFile)
{
    struct Case {
        std::string contents;
        const char* extension;
        LoadStatus status;
    };
    using namespace std::string_literals;
    const Bytes nativeBytes = NativeFile{}.ToBytes();
    const std::string native(nativeBytes.begin(), nativeBytes.end());
    const Case cases[] = {
        {native, ".tessa", LoadOk},
        {"tessa" + native.substr(5), ".tessa", LoadRejected},
        {"TESSA", ".tessa", LoadFileError},
        {"\1\1\0\1\3"s, ".tgr", LoadOk},
        {"\1\1\0\1"s, ".tgr", LoadFileError},
        {"\1\1\2", ".tgw", LoadOk},
        {"\1\1", ".tgw", LoadFileError},
        {"11\r\n1\r\n1\r\n", ".tgp", LoadOk},
        {"11\r\n1\r\n", ".tgp", LoadRejected},
        {"1", ".tgp", LoadFileError},
        {"1 1\n1\n1\n", ".pp", LoadOk},
        {"1 1\n,\n1\n", ".pp", LoadRejected},
    };
    for (const Case& c : cases) {
        const std::string path = WriteTestFile(c.contents, c.extension);
        EXPECT_EQ(CTessGrid(path).m_status, c.status) << path;
        EXPECT_TRUE(AnotherProcessCanLock(path)) << path;
    }
}

} // namespace
