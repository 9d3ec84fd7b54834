#include "FuzzInput.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <unistd.h>

namespace {

std::string& FuzzFolder()
{
    static std::string folder;
    return folder;
}

std::string MemoryBackedTemp()
{
    std::error_code error;
    if (std::filesystem::is_directory("/dev/shm", error))
        return "/dev/shm";
    return std::filesystem::temp_directory_path().string();
}

void RemoveFuzzFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(FuzzFolder(), ignored);
}

void Require(bool holds, const char* promise)
{
    if (holds)
        return;
    std::fprintf(stderr, "The load broke a promise: %s\n", promise);
    std::abort();
}

// A reader that kept its file open would still hold its shared lock on it.
bool NobodyHolds(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    const bool free = fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    if (fd >= 0)
        ::close(fd);
    return free;
}

bool IsRightJustified(std::span<const ClueEntry> list)
{
    return std::ranges::is_partitioned(list, [](const ClueEntry& entry) { return entry.value == 0; });
}

void CheckClueLists(const std::optional<ClueLists>& lists, int lineCount, std::uint8_t clueMax)
{
    Require(lists.has_value() == (clueMax > 0), "clue lists exist exactly when their length is above 0");
    if (!lists)
        return;
    Require(lists->LineCount() == lineCount && lists->LineLength() == clueMax,
            "one clue list per line, each of the stated length");
    for (int line = 0; line < lineCount; ++line)
        Require(IsRightJustified((*lists)[line]), "clue lists are right-justified");
}

void CheckLoadedModel(const CTessGrid& puzzle)
{
    Require(std::memcmp(puzzle.m_signature, "TESSA", sizeof puzzle.m_signature) == 0, "the signature is TESSA");
    Require(puzzle.m_colourCount >= 2 && puzzle.m_colourCount <= 16, "the colour count is 2 to 16");
    Require(puzzle.m_picture && puzzle.m_picture->LineCount() == puzzle.m_height &&
                puzzle.m_picture->LineLength() == puzzle.m_width,
            "the picture has W x H cells");
    CheckClueLists(puzzle.m_columnClues, puzzle.m_width, puzzle.m_columnClueMax);
    CheckClueLists(puzzle.m_rowClues, puzzle.m_height, puzzle.m_rowClueMax);
}

} // namespace

void PrepareFuzzFolder()
{
    std::string pattern = MemoryBackedTemp() + "/gridlook-fuzz-XXXXXX";
    if (!::mkdtemp(pattern.data())) {
        std::perror("gridlook fuzz folder");
        std::exit(1);
    }
    FuzzFolder() = pattern;
    std::atexit(RemoveFuzzFolder);
    ::setenv("WINEPREFIX", (pattern + "/empty-prefix").c_str(), 1);
}

std::string WriteInputFile(const std::uint8_t* data, std::size_t size, const std::string& extension)
{
    const std::string path = FuzzFolder() + "/input" + extension;
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    Require(fd >= 0, "the input file can be written");
    for (std::size_t done = 0; done < size;) {
        const ssize_t written = ::write(fd, data + done, size - done);
        Require(written > 0, "the input file can be written");
        done += static_cast<std::size_t>(written);
    }
    ::close(fd);
    return path;
}

void CheckLoad(const CTessGrid& puzzle, const std::string& path)
{
    Require(puzzle.m_status == LoadOk || puzzle.m_status == LoadRejected || puzzle.m_status == LoadFileError,
            "the status is 0, 3 or 4");
    Require(NobodyHolds(path), "the file is closed after the load");
    if (puzzle.m_status == LoadOk)
        CheckLoadedModel(puzzle);
}
