#include "cli/Commands.h"
#include "cli/OutputFile.h"
#include "cli/SolveCommand.h"
#include "writers/PuzzleFormats.h"

#include <filesystem>
#include <set>

namespace {

std::string OutputPath(const CommandLine& line, const std::string& path)
{
    if (!line.outputFile.empty())
        return line.outputFile;
    const std::filesystem::path name = std::filesystem::path(path).stem();
    return (std::filesystem::path(line.outputDirectory) / name).string() + std::string(ExtensionOf(*line.format));
}

std::string Joined(const std::vector<std::string>& reasons)
{
    std::string text;
    for (const std::string& reason : reasons)
        text += (text.empty() ? "" : "; ") + reason;
    return text;
}

bool WriteOutput(const std::string& output, const std::string& bytes, std::string& error)
{
    COutputFile file(output);
    if (file.Write(bytes.data(), bytes.size()) && file.Commit())
        return true;
    error = file.Error();
    return false;
}

// Two puzzles of one run named alike (a.pp and a.tgp into one folder) would
// leave only the second: the second is refused.
bool ClaimOutput(const std::string& output, std::set<std::string>& claimed)
{
    return claimed.insert(std::filesystem::path(output).lexically_normal().string()).second;
}

int ConvertOne(const CommandLine& line, const std::string& path, std::set<std::string>& claimed)
{
    CTessGrid puzzle(path, line.overlay);
    if (puzzle.m_status != LoadOk) {
        ReportLoadFailure(path, puzzle);
        return puzzle.m_status;
    }
    if (line.solution) {
        if (const int status = TakeUniqueSolution(line, path, puzzle, "not converted"); status != 0)
            return status;
    }
    const std::vector<std::string> reasons = WhatCannotBeWritten(puzzle, *line.format, line.drops);
    if (!reasons.empty()) {
        ReportFailure(path, "not converted to " + std::string(DescriptionOf(*line.format)) + ": " + Joined(reasons));
        return LoadRejected;
    }
    DropFromPuzzle(puzzle, line.drops);
    const std::string output = OutputPath(line, path);
    std::string error = "cannot write " + output + ": another file of this run was written there";
    if (ClaimOutput(output, claimed) && WriteOutput(output, WritePuzzle(puzzle, *line.format), error))
        return 0;
    ReportFailure(path, error);
    return kPictureFailed;
}

} // namespace

int RunConvert(const CommandLine& line)
{
    if (!line.outputDirectory.empty()) {
        std::error_code error;
        std::filesystem::create_directories(line.outputDirectory, error);
    }
    std::set<std::string> claimed;
    int exitStatus = 0;
    for (const std::string& path : line.files) {
        const int status = ConvertOne(line, path, claimed);
        if (exitStatus == 0)
            exitStatus = status;
    }
    return exitStatus;
}
