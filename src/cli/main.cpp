#include "cli/CommandLine.h"
#include "cli/InfoCommand.h"
#include "model/TessGrid.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kUsageError = 2;

const char* StatusReason(LoadStatus status)
{
    return status == LoadRejected
               ? "not a puzzle this viewer can show (its contents were refused)"
               : "could not be read (missing, unreadable, locked, or shorter than its contents need)";
}

int RunInfo(const CommandLine& line)
{
    int exitStatus = 0;
    for (const std::string& path : line.files) {
        const CTessGrid puzzle(path, line.overlay);
        if (line.json)
            std::printf("%s\n", PuzzleJson(puzzle).c_str());
        else if (puzzle.m_status == LoadOk)
            std::printf("%s", DescribePuzzle(path, puzzle).c_str());
        if (puzzle.m_status == LoadOk)
            continue;
        std::fprintf(stderr, "gridlook: %s: %s\n", path.c_str(), StatusReason(puzzle.m_status));
        if (exitStatus == 0)
            exitStatus = puzzle.m_status;
    }
    return exitStatus;
}

} // namespace

int main(int argc, char** argv)
{
    std::string error;
    const std::optional<CommandLine> line = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc), error);
    if (!line) {
        std::fprintf(stderr, "gridlook: %s\n%s\n", error.c_str(), kUsage);
        return kUsageError;
    }
    switch (line->command) {
    case CommandLine::Command::Help:
        std::printf("%s", kHelp);
        return 0;
    case CommandLine::Command::Info:
        return RunInfo(*line);
    }
    return kUsageError;
}
