#include "readers/SafeFile.h"

#include <windows.h>

// Opened with no sharing: while another program holds the file open, the open
// fails, and while we read it nobody else can open it.

namespace {

HANDLE HandleOf(std::intptr_t handle)
{
    return reinterpret_cast<HANDLE>(handle);
}

constexpr int kOpenFailedCause = 1;
// The value of INVALID_HANDLE_VALUE, which is not a constant expression.
constexpr std::intptr_t kNoHandle = -1;

} // namespace

CSafeFile::CSafeFile(const std::string& path) : m_handle(kNoHandle)
{
    if (path.size() >= kMaxPath)
        throw CFileException(kOpenFailedCause, ERROR_FILENAME_EXCED_RANGE);
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        throw CFileException(kOpenFailedCause, static_cast<long>(GetLastError()));
    if (GetFileType(file) != FILE_TYPE_DISK) {
        CloseHandle(file);
        throw CFileException(kOpenFailedCause, ERROR_INVALID_FUNCTION);
    }
    m_handle = reinterpret_cast<std::intptr_t>(file);
}

std::size_t CSafeFile::Read(void* buffer, std::size_t count)
{
    auto* bytes = static_cast<char*>(buffer);
    std::size_t done = 0;
    while (done < count) {
        const DWORD ask = static_cast<DWORD>(std::min<std::size_t>(count - done, 1u << 30));
        DWORD got = 0;
        if (!ReadFile(HandleOf(m_handle), bytes + done, ask, &got, nullptr) || got == 0)
            ThrowShortRead();
        done += got;
    }
    return count;
}

void CSafeFile::Skip(std::int64_t count)
{
    LARGE_INTEGER distance{};
    distance.QuadPart = count;
    if (!SetFilePointerEx(HandleOf(m_handle), distance, nullptr, FILE_CURRENT))
        ThrowShortRead();
}

std::uint64_t CSafeFile::Length() const
{
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(HandleOf(m_handle), &size))
        ThrowShortRead();
    return static_cast<std::uint64_t>(size.QuadPart);
}

std::uint64_t CSafeFile::Position() const
{
    LARGE_INTEGER zero{};
    LARGE_INTEGER position{};
    if (!SetFilePointerEx(HandleOf(m_handle), zero, &position, FILE_CURRENT))
        ThrowShortRead();
    return static_cast<std::uint64_t>(position.QuadPart);
}

void CSafeFile::Close()
{
    if (m_handle != kNoHandle)
        CloseHandle(HandleOf(m_handle));
    m_handle = kNoHandle;
}
