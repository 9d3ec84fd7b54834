#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/InfoCommand.h"

#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kUsageError = 2;

} // namespace

void ReportFailure(const std::string& path, const std::string& reason)
{
    std::fprintf(stderr, "gridlook: %s\n", OneLine(path + ": " + reason).c_str());
}

void ReportLoadFailure(const std::string& path, const CTessGrid& puzzle)
{
    if (puzzle.m_status != LoadRejected)
        ReportFailure(path, "could not be read (missing, unreadable, locked, or shorter than its contents need)");
    else if (puzzle.m_refusal.empty())
        ReportFailure(path, "not a puzzle this viewer can show (its contents were refused)");
    else
        ReportFailure(path, "refused: " + puzzle.m_refusal);
}

int main(int argc, char** argv)
{
    // A write beyond the file size limit then fails with EFBIG, as on a full
    // disk, instead of killing the command before it removes its new file.
    std::signal(SIGXFSZ, SIG_IGN);
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
    case CommandLine::Command::Render:
        return RunRender(*line);
    case CommandLine::Command::Thumbnail:
        return RunThumbnail(*line);
    case CommandLine::Command::Solve:
        return RunSolve(*line);
    case CommandLine::Command::Convert:
        return RunConvert(*line);
    }
    return kUsageError;
}
