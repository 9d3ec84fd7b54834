#include "readers/SafeFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// POSIX has no share modes, so this is an ordinary read-only open. Only regular
// files are accepted: a FIFO or a device could block or never end.

namespace {

int HandleOf(std::intptr_t handle)
{
    return static_cast<int>(handle);
}

constexpr int kNoCause = 0;
constexpr long kShortReadError = -1;
constexpr int kOpenFailedCause = 1;

} // namespace

CSafeFile::CSafeFile(const std::string& path) : m_handle(-1)
{
    if (path.size() >= kMaxPath)
        throw CFileException(kOpenFailedCause, ENAMETOOLONG);
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        throw CFileException(kOpenFailedCause, errno);
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        const long error = errno;
        ::close(fd);
        throw CFileException(kOpenFailedCause, error);
    }
    m_handle = fd;
}

CSafeFile::~CSafeFile()
{
    Close();
}

void CSafeFile::ThrowShortRead()
{
    throw CFileException(kNoCause, kShortReadError);
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
