#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// A file error: the file could not be opened, or ended before a read was
// satisfied. Readers let it pass; the model's constructor turns it into a status.
class CFileException {
public:
    CFileException(int cause, long osError) : m_cause(cause), m_osError(osError) {}

    int m_cause;
    long m_osError;
};

// The one way readers read a file: opened read-only and held against writers as
// far as the platform allows, and every read delivers exactly the bytes asked
// for or throws CFileException. Nothing outside this class checks lengths.
// Each platform implements the opening, reading and closing.
class CSafeFile {
public:
    // Paths of this many characters or more are refused like a failed open.
    static constexpr std::size_t kMaxPath = 260;

    explicit CSafeFile(const std::string& path);
    ~CSafeFile();
    CSafeFile(const CSafeFile&) = delete;
    CSafeFile& operator=(const CSafeFile&) = delete;

    std::size_t Read(void* buffer, std::size_t count);
    std::uint8_t ReadByte();
    void Skip(std::int64_t count);

    // Reads up to `most` bytes from the current position: fewer only where the
    // file ends. Returns the count read.
    std::size_t ReadSome(void* buffer, std::size_t most);

    // Reads from the current position to the end of the file into `text`.
    // Returns false, having read nothing, when that is more than `limit` bytes.
    bool ReadToEnd(std::string& text, std::uint64_t limit);

    void Close();

private:
    std::uint64_t Length() const;
    std::uint64_t Position() const;
    [[noreturn]] static void ThrowShortRead();

    std::intptr_t m_handle;
};
