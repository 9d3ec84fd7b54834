#include "cli/Commands.h"
#include "cli/ThumbnailWriter.h"

int RunThumbnail(const CommandLine& line)
{
    const std::string& path = line.files.front();
    CTessGrid puzzle(path, line.overlay);
    if (puzzle.m_status != LoadOk) {
        ReportLoadFailure(path, puzzle);
        return puzzle.m_status;
    }
    std::string error;
    if (WriteThumbnail(puzzle, line.thumbnailSize, line.outputFile, error))
        return 0;
    ReportFailure(path, error);
    return kPictureFailed;
}
