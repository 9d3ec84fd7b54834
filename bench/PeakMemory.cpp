#include "PeakMemory.h"

#include "cli/ThumbnailWriter.h"
#include "platform/posix/RasterPicture.h"

#include <fstream>
#include <functional>
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

// The work returns the bytes of the picture it made, or nothing when it failed.
using MeasuredWork = std::function<std::optional<std::int64_t>()>;

std::optional<RenderPeak> MeasureWork(const MeasuredWork& work)
{
    ResetPeak();
    const std::int64_t before = StatusBytes("VmRSS");
    const std::optional<std::int64_t> bitmapBytes = work();
    if (!bitmapBytes || before < 0)
        return std::nullopt;
    return RenderPeak{StatusBytes("VmHWM") - before, *bitmapBytes};
}

[[noreturn]] void RunChild(int output, const MeasuredWork& work)
{
    const RenderPeak peak = MeasureWork(work).value_or(RenderPeak{-1, -1});
    const bool sent = write(output, &peak, sizeof peak) == sizeof peak;
    _exit(sent ? 0 : 1);
}

std::optional<RenderPeak> MeasureInChild(const MeasuredWork& work)
{
    int channel[2];
    if (pipe(channel) != 0)
        return std::nullopt;
    const pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        RunChild(channel[1], work);
    }
    close(channel[1]);
    RenderPeak peak{};
    const bool received = child > 0 && read(channel[0], &peak, sizeof peak) == sizeof peak;
    close(channel[0]);
    if (child > 0)
        waitpid(child, nullptr, 0);
    if (!received || peak.growthBytes < 0)
        return std::nullopt;
    return peak;
}

} // namespace

std::optional<RenderPeak> MeasureRenderPeak(const std::string& path)
{
    return MeasureInChild([&]() -> std::optional<std::int64_t> {
        CTessGrid puzzle(path);
        if (puzzle.m_status != LoadOk)
            return std::nullopt;
        const auto picture = PaintScrollArea(puzzle);
        if (!picture)
            return std::nullopt;
        const RasterBitmap& bitmap = picture->SelectedBitmap();
        return std::int64_t{bitmap.width} * bitmap.height * std::int64_t{sizeof(Colour)};
    });
}

std::optional<RenderPeak> MeasureThumbnailPeak(const std::string& path, int size, const std::string& output)
{
    return MeasureInChild([&]() -> std::optional<std::int64_t> {
        CTessGrid puzzle(path);
        std::string error;
        if (puzzle.m_status != LoadOk || !WriteThumbnail(puzzle, size, output, error))
            return std::nullopt;
        return 0;
    });
}

std::optional<std::int64_t> MeasurePeakGrowth(const std::function<bool()>& work)
{
    const std::optional<RenderPeak> peak =
        MeasureInChild([&]() -> std::optional<std::int64_t> { return work() ? std::optional<std::int64_t>(0) : std::nullopt; });
    return peak ? std::optional(peak->growthBytes) : std::nullopt;
}
