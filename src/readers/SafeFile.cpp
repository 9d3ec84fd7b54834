#include "readers/SafeFile.h"

#include <algorithm>

// The platform-independent part of the exact-read file.

namespace {

constexpr int kNoCause = 0;
constexpr long kShortReadError = -1;

} // namespace

CSafeFile::~CSafeFile()
{
    Close();
}

void CSafeFile::ThrowShortRead()
{
    throw CFileException(kNoCause, kShortReadError);
}

std::uint8_t CSafeFile::ReadByte()
{
    std::uint8_t byte = 0;
    Read(&byte, 1);
    return byte;
}

std::size_t CSafeFile::ReadSome(void* buffer, std::size_t most)
{
    const std::uint64_t length = Length();
    const std::uint64_t position = Position();
    if (position >= length)
        return 0;
    return Read(buffer, static_cast<std::size_t>(std::min<std::uint64_t>(most, length - position)));
}

bool CSafeFile::ReadToEnd(std::string& text, std::uint64_t limit)
{
    const std::uint64_t length = Length();
    const std::uint64_t position = Position();
    // A position beyond the end means the bytes skipped to get there were missing.
    if (position > length)
        ThrowShortRead();
    if (length - position > limit)
        return false;
    text.resize(static_cast<std::size_t>(length - position));
    Read(text.data(), text.size());
    return true;
}
