#include "cli/OutputFile.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <memory>
#include <random>
#include <stdio_ext.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

// The new file is named after the target, as ".NAME.XXXXXX": hidden from
// file managers, and a person who finds one left by a killed run can tell
// whose it was. Long names are cut so that the whole stays within NAME_MAX.
constexpr std::size_t kNameKept = 200;
constexpr int kSuffixLength = 6;
constexpr int kNameAttempts = 100;
constexpr mode_t kPermissionBits = 0777;

std::string NewFileBeside(const std::string& written)
{
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    static std::mt19937 random{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> letter(0, sizeof kLetters - 2);
    const std::filesystem::path path(written);
    std::string name = "." + path.filename().string().substr(0, kNameKept) + ".";
    for (int i = 0; i < kSuffixLength; ++i)
        name += kLetters[letter(random)];
    return (path.parent_path() / name).string();
}

struct FreeDeleter {
    void operator()(char* text) const { std::free(text); }
};

} // namespace

COutputFile::COutputFile(std::string target) : m_target(std::move(target))
{
    if (!CheckTarget())
        return;
    if (m_replaces && m_replaced.st_size == 0)
        OpenEmptyTarget();
    else if (CreateBeside())
        TakeOverPermissions();
}

COutputFile::~COutputFile()
{
    Discard();
}

bool COutputFile::Write(const void* bytes, std::size_t count)
{
    if (!Failed() && std::fwrite(bytes, 1, count, m_stream) != count)
        FailWithErrno();
    return !Failed();
}

bool COutputFile::Commit()
{
    if (Failed())
        return false;
    if (std::fflush(m_stream) != 0 || fsync(fileno(m_stream)) != 0) {
        FailWithErrno();
        return false;
    }
    if (std::fclose(std::exchange(m_stream, nullptr)) != 0 ||
        (!m_inPlace && std::rename(m_newPath.c_str(), m_written.c_str()) != 0)) {
        FailWithErrno();
        return false;
    }
    m_newPath.clear();
    return true;
}

void COutputFile::Fail(const std::string& reason)
{
    if (Failed())
        return;
    m_error = "cannot write " + m_target + ": " + reason;
    Discard();
}

void COutputFile::FailWithErrno()
{
    Fail(std::strerror(errno));
}

// Sets m_written to the file that is to be replaced or made: the target, or
// the file that its symbolic link leads to.
bool COutputFile::CheckTarget()
{
    m_written = m_target;
    struct stat status {};
    if (lstat(m_target.c_str(), &status) != 0) {
        if (errno != ENOENT)
            FailWithErrno();
        return !Failed();
    }
    if (S_ISLNK(status.st_mode)) {
        const std::unique_ptr<char, FreeDeleter> resolved(realpath(m_target.c_str(), nullptr));
        if (!resolved || stat(resolved.get(), &status) != 0) {
            // Like cp, which will not write through a link that leads nowhere.
            if (errno == ENOENT)
                Fail("it is a symbolic link to a file that does not exist");
            else
                FailWithErrno();
            return false;
        }
        m_written = resolved.get();
    }
    if (S_ISDIR(status.st_mode))
        Fail("it is a folder");
    else if (!S_ISREG(status.st_mode))
        Fail("it is not a regular file");
    // The folder alone would let a file be replaced that its owner made
    // read-only: the file's own permissions decide, as for writing it in place.
    else if (faccessat(AT_FDCWD, m_written.c_str(), W_OK, AT_EACCESS) != 0)
        FailWithErrno();
    if (Failed())
        return false;
    m_replaces = true;
    m_replaced = status;
    return true;
}

void COutputFile::OpenEmptyTarget()
{
    // Should a pipe have taken the file's place, the open does not wait for a
    // reader; the check after it finds that it is not the file looked at.
    const int handle = open(m_written.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (handle < 0) {
        FailWithErrno();
        return;
    }
    struct stat status {};
    if (fstat(handle, &status) != 0 || status.st_dev != m_replaced.st_dev || status.st_ino != m_replaced.st_ino ||
        status.st_size != 0) {
        close(handle);
        Fail("another program changed it meanwhile");
        return;
    }
    m_inPlace = true;
    StreamTo(handle);
}

bool COutputFile::CreateBeside()
{
    // A replacement stays private until it has the permissions of the file it
    // replaces; a new file gets the umask's (and a default ACL's) as any does.
    const mode_t mode = m_replaces ? S_IRUSR | S_IWUSR : 0666;
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        std::string path = NewFileBeside(m_written);
        const int handle = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, mode);
        if (handle < 0 && errno == EEXIST)
            continue;
        if (handle < 0) {
            FailWithErrno();
            return false;
        }
        m_newPath = std::move(path);
        return StreamTo(handle);
    }
    Fail(std::strerror(EEXIST));
    return false;
}

// Buffers the writes to `handle`, which it closes when it cannot.
bool COutputFile::StreamTo(int handle)
{
    m_stream = fdopen(handle, "wb");
    if (!m_stream) {
        const int error = errno;
        close(handle);
        errno = error;
        FailWithErrno();
    }
    return !Failed();
}

void COutputFile::TakeOverPermissions()
{
    if (!m_replaces)
        return;
    const int handle = fileno(m_stream);
    // Only root may give a file away; anyone else's replacement is their own,
    // as with any program that saves over a file.
    if ((m_replaced.st_uid != geteuid() || m_replaced.st_gid != getegid()) &&
        fchown(handle, m_replaced.st_uid, m_replaced.st_gid) != 0 && errno != EPERM)
        FailWithErrno();
    else if (fchmod(handle, m_replaced.st_mode & kPermissionBits) != 0)
        FailWithErrno();
}

void COutputFile::Discard()
{
    if (m_stream && m_inPlace) {
        __fpurge(m_stream);
        if (ftruncate(fileno(m_stream), 0) != 0)
            m_error += " (and it could not be emptied again)";
    }
    if (m_stream)
        std::fclose(std::exchange(m_stream, nullptr));
    if (!m_newPath.empty())
        unlink(std::exchange(m_newPath, {}).c_str());
}
