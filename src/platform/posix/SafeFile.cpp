#include "readers/SafeFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

// POSIX has no share modes. Their nearest equivalent is an advisory lock: the
// file is held under a shared flock from the open until Close, so a file that
// another process holds under an exclusive flock is declined, and a cooperating
// writer that asks for one is refused while the load reads. A file removed
// while it is read is declined too. Only regular files are accepted: a FIFO or
// a device could block or never end.

namespace {

int HandleOf(std::intptr_t handle)
{
    return static_cast<int>(handle);
}

constexpr int kOpenFailedCause = 1;
constexpr int kRemovedCause = 2;

[[noreturn]] void CloseAndThrow(int fd, long error)
{
    ::close(fd);
    throw CFileException(kOpenFailedCause, error);
}

// Only a conflicting lock holds a file: where the file system keeps no locks,
// nobody can hold the file, so it is read all the same.
bool HeldByAnotherProcess(int fd)
{
    return ::flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
}

// Bytes read from a file whose last name has gone may be part of a file being
// replaced; the load does not trust them.
void ThrowIfRemoved(int fd)
{
    struct stat status {};
    if (::fstat(fd, &status) != 0 || status.st_nlink == 0)
        throw CFileException(kRemovedCause, ENOENT);
}

} // namespace

CSafeFile::CSafeFile(const std::string& path) : m_handle(-1)
{
    if (path.size() >= kMaxPath)
        throw CFileException(kOpenFailedCause, ENAMETOOLONG);
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        throw CFileException(kOpenFailedCause, errno);
    struct stat status {};
    if (::fstat(fd, &status) != 0)
        CloseAndThrow(fd, errno);
    if (!S_ISREG(status.st_mode))
        CloseAndThrow(fd, EINVAL);
    if (HeldByAnotherProcess(fd))
        CloseAndThrow(fd, EWOULDBLOCK);
    m_handle = fd;
}

std::size_t CSafeFile::Read(void* buffer, std::size_t count)
{
    auto* bytes = static_cast<char*>(buffer);
    std::size_t done = 0;
    while (done < count) {
        const ssize_t got = ::read(HandleOf(m_handle), bytes + done, count - done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            ThrowShortRead();
        done += static_cast<std::size_t>(got);
    }
    ThrowIfRemoved(HandleOf(m_handle));
    return count;
}

void CSafeFile::Skip(std::int64_t count)
{
    if (::lseek(HandleOf(m_handle), count, SEEK_CUR) < 0)
        ThrowShortRead();
}

std::uint64_t CSafeFile::Length() const
{
    struct stat status {};
    if (::fstat(HandleOf(m_handle), &status) != 0)
        ThrowShortRead();
    return static_cast<std::uint64_t>(status.st_size);
}

std::uint64_t CSafeFile::Position() const
{
    const off_t position = ::lseek(HandleOf(m_handle), 0, SEEK_CUR);
    if (position < 0)
        ThrowShortRead();
    return static_cast<std::uint64_t>(position);
}

void CSafeFile::Close()
{
    if (m_handle >= 0)
        ::close(HandleOf(m_handle));
    m_handle = -1;
}
