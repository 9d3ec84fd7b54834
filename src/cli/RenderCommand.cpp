#include "cli/Commands.h"
#include "cli/PngWriter.h"
#include "cli/SolveCommand.h"
#include "platform/posix/RasterPicture.h"
#include "platform/posix/RasterText.h"
#include "render/Numbers.h"

#include <cstdio>
#include <filesystem>
#include <unistd.h>

namespace {

// Progress goes to a terminal only, on one line that each file overwrites.
class Progress {
public:
    explicit Progress(std::size_t total) : m_shown(total > 1 && isatty(STDERR_FILENO)), m_total(total) {}
    ~Progress()
    {
        if (m_shown)
            std::fprintf(stderr, "\r\033[Krendered %zu files\n", m_total);
    }

    void Show(std::size_t done, const std::string& path) const
    {
        if (m_shown)
            std::fprintf(stderr, "\r\033[K[%zu/%zu] %s", done, m_total, path.c_str());
    }
    void ClearLine() const
    {
        if (m_shown)
            std::fprintf(stderr, "\r\033[K");
    }

private:
    bool m_shown;
    std::size_t m_total;
};

std::string OutputPath(const CommandLine& line, const std::string& path)
{
    if (!line.outputFile.empty())
        return line.outputFile;
    return (std::filesystem::path(line.outputDirectory) / std::filesystem::path(path).filename()).string() + ".png";
}

void WarnOnceWithoutTextFont(const CTessGrid& puzzle)
{
    static bool warned = false;
    if (warned || puzzle.m_settings.pixelDigits() || CanRenderText(kClueFontFace))
        return;
    warned = true;
    std::fprintf(stderr, "gridlook: no font found for \"%s\": clue numbers in text mode are left out\n",
                 kClueFontFace);
}

// --blank leaves the grid empty and --solution fills it with the solution of
// the clues; either way the puzzle is then painted as every puzzle is. Returns
// the exit status when there is nothing to paint, else 0.
int ChoosePicture(const CommandLine& line, const std::string& path, CTessGrid& puzzle)
{
    if (line.blank)
        puzzle.m_picture.emplace(puzzle.m_height, puzzle.m_width);
    return line.solution ? TakeUniqueSolution(line, path, puzzle, "nothing painted") : 0;
}

int RenderOne(const CommandLine& line, const std::string& path, const Progress& progress)
{
    CTessGrid puzzle(path, line.overlay);
    if (puzzle.m_status != LoadOk) {
        progress.ClearLine();
        ReportLoadFailure(path, puzzle);
        return puzzle.m_status;
    }
    if (const int status = ChoosePicture(line, path, puzzle); status != 0) {
        progress.ClearLine();
        return status;
    }
    WarnOnceWithoutTextFont(puzzle);
    const std::unique_ptr<CRasterSurface> picture = PaintScrollArea(puzzle);
    std::string error;
    if (!picture)
        error = "a picture of " + std::to_string(puzzle.m_layoutWidth + kScrollMargin) + " x " +
                std::to_string(puzzle.m_layoutHeight + kScrollMargin) + " pixels is too large to make (the limit is " +
                std::to_string(kMaxPicturePixels) + " pixels; try a smaller --cell-size)";
    else if (WritePng(OutputPath(line, path), picture->SelectedBitmap(), error))
        return 0;
    progress.ClearLine();
    ReportFailure(path, error);
    return kPictureFailed;
}

} // namespace

int RunRender(const CommandLine& line)
{
    if (!line.outputDirectory.empty()) {
        std::error_code error;
        std::filesystem::create_directories(line.outputDirectory, error);
    }
    const Progress progress(line.files.size());
    int exitStatus = 0;
    for (std::size_t i = 0; i < line.files.size(); ++i) {
        progress.Show(i + 1, line.files[i]);
        const int status = RenderOne(line, line.files[i], progress);
        if (exitStatus == 0)
            exitStatus = status;
    }
    return exitStatus;
}
