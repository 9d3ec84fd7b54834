#include "PeakMemory.h"

#include "platform/posix/RasterPicture.h"

#include <fstream>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// A figure of /proc/self/status ("VmRSS:    1234 kB") in bytes, or -1.
std::int64_t StatusBytes(const std::string& field)
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.starts_with(field + ":"))
            return std::stoll(line.substr(field.size() + 1)) * 1024;
    }
    return -1;
}

// Starts the peak (VmHWM) afresh from the present resident memory. A child's
// peak already starts there at the fork; this makes sure of it.
void ResetPeak()
{
    std::ofstream("/proc/self/clear_refs") << "5";
}

std::optional<RenderPeak> LoadAndPaint(const std::string& path)
{
    ResetPeak();
    const std::int64_t before = StatusBytes("VmRSS");
    CTessGrid puzzle(path);
    if (puzzle.m_status != LoadOk)
        return std::nullopt;
    const auto picture = PaintScrollArea(puzzle);
    if (!picture || before < 0)
        return std::nullopt;
    const RasterBitmap& bitmap = picture->SelectedBitmap();
    return RenderPeak{StatusBytes("VmHWM") - before,
                      std::int64_t{bitmap.width} * bitmap.height * std::int64_t{sizeof(Colour)}};
}

[[noreturn]] void RunChild(int output, const std::string& path)
{
    const RenderPeak peak = LoadAndPaint(path).value_or(RenderPeak{-1, -1});
    const bool sent = write(output, &peak, sizeof peak) == sizeof peak;
    _exit(sent ? 0 : 1);
}

} // namespace

std::optional<RenderPeak> MeasureRenderPeak(const std::string& path)
{
    int channel[2];
    if (pipe(channel) != 0)
        return std::nullopt;
    const pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        RunChild(channel[1], path);
    }
    close(channel[1]);
    RenderPeak peak{};
    const bool received = child > 0 && read(channel[0], &peak, sizeof peak) == sizeof peak;
    close(channel[0]);
    if (child > 0)
        waitpid(child, nullptr, 0);
    if (!received || peak.bitmapBytes <= 0)
        return std::nullopt;
    return peak;
}
