#include "Summary.h"

#include "SolverBench.h"

#include <cstdio>

namespace {

constexpr double kMaxPaintToFloor = 3.0;
constexpr double kMaxTypicalSeconds = 1e-3;
constexpr double kMaxLoadToPaint = 0.05;
constexpr double kMaxPeakToBitmap = 1.3;
constexpr double kMebibyte = 1024.0 * 1024.0;
constexpr double kMaxEncodeToPaint = 3.0;
// The largest picture's PNG file when it was written as 8-bit RGB.
constexpr std::uintmax_t kRgbPngBytes = 379284;
constexpr double kMaxThumbnailLargestSeconds = 50e-3;
constexpr double kMaxThumbnailTypicalSeconds = 5e-3;
constexpr double kMaxThumbnailGrowthBytes = 32 * kMebibyte;

double Milliseconds(double seconds)
{
    return seconds * 1e3;
}

std::optional<double> Find(const std::map<std::string, double>& medians, const std::string& name)
{
    const auto found = medians.find(name);
    return found == medians.end() ? std::nullopt : std::optional(found->second);
}

void PrintPaintAgainstFloor(const std::map<std::string, double>& medians, CGoalTally& tally)
{
    const auto paint = Find(medians, kPaintLargest);
    const auto floor = Find(medians, kFloor);
    if (!paint || !floor)
        return;
    const double ratio = *paint / *floor;
    std::printf("painting the largest puzzle, pixel digits    %9.3f ms\n", Milliseconds(*paint));
    std::printf("  floor: a new bitmap of its size, filled once %9.3f ms   %5.2f x   goal <= 3 x     %s\n",
                Milliseconds(*floor), ratio, tally.Verdict(ratio <= kMaxPaintToFloor));
}

void PrintTypical(const std::map<std::string, double>& medians, CGoalTally& tally)
{
    const auto typical = Find(medians, kLoadToPictureTypical);
    if (!typical)
        return;
    std::printf("load, layout and paint of the typical puzzle %9.3f ms              goal < 1 ms    %s\n",
                Milliseconds(*typical), tally.Verdict(*typical < kMaxTypicalSeconds));
}

void PrintLoads(const std::map<std::string, double>& medians, const std::vector<std::string>& loadLabels,
                CGoalTally& tally)
{
    const auto paint = Find(medians, kPaintLargest);
    if (!paint)
        return;
    std::printf("loading the largest file of each format, against painting the largest puzzle:\n");
    for (const std::string& label : loadLabels) {
        const auto load = Find(medians, LoadBenchmarkName(label));
        if (!load)
            continue;
        const double share = *load / *paint;
        std::printf("  %-22s                     %9.3f ms   %5.2f %%   goal < 5 %%      %s\n", label.c_str(),
                    Milliseconds(*load), 100 * share, tally.Verdict(share < kMaxLoadToPaint));
    }
}

void PrintPeak(const std::optional<RenderPeak>& peak, CGoalTally& tally)
{
    if (!peak) {
        std::printf("peak memory of rendering the largest puzzle: could not be measured\n");
        return;
    }
    const double ratio = static_cast<double>(peak->growthBytes) / static_cast<double>(peak->bitmapBytes);
    std::printf("peak memory of loading and painting the largest puzzle, above the process before it:\n"
                "  %.1f MiB against its bitmap of %.1f MiB             %5.3f x  goal <= 1.3 x   %s\n",
                static_cast<double>(peak->growthBytes) / kMebibyte, static_cast<double>(peak->bitmapBytes) / kMebibyte,
                ratio, tally.Verdict(ratio <= kMaxPeakToBitmap));
}

void PrintEncoding(const std::map<std::string, double>& medians, std::optional<std::uintmax_t> pngBytes,
                   CGoalTally& tally)
{
    const auto encode = Find(medians, kEncodePngLargest);
    const auto paint = Find(medians, kPaintLargest);
    if (!encode || !paint)
        return;
    const double ratio = *encode / *paint;
    std::printf("encoding the largest picture as PNG          %9.3f ms   %5.2f x painting   goal <= 3 x   %s\n",
                Milliseconds(*encode), ratio, tally.Verdict(ratio <= kMaxEncodeToPaint));
    if (pngBytes)
        std::printf("  its file                              %12ju bytes   goal <= %ju (RGB)  %s\n", *pngBytes,
                    kRgbPngBytes, tally.Verdict(*pngBytes <= kRgbPngBytes));
}

void PrintThumbnails(const std::map<std::string, double>& medians, const std::optional<RenderPeak>& peak,
                     CGoalTally& tally)
{
    const auto largest = Find(medians, kThumbnailLargest);
    const auto typical = Find(medians, kThumbnailTypical);
    if (largest)
        std::printf("%d-pixel thumbnail of the largest puzzle      %9.3f ms              goal <= 50 ms  %s\n",
                    kThumbnailSize, Milliseconds(*largest), tally.Verdict(*largest <= kMaxThumbnailLargestSeconds));
    if (largest && peak)
        std::printf("  peak memory growth                          %9.1f MiB             goal <= 32 MiB %s\n",
                    static_cast<double>(peak->growthBytes) / kMebibyte,
                    tally.Verdict(static_cast<double>(peak->growthBytes) <= kMaxThumbnailGrowthBytes));
    if (typical)
        std::printf("%d-pixel thumbnail of the typical puzzle      %9.3f ms              goal < 5 ms    %s\n",
                    kThumbnailSize, Milliseconds(*typical), tally.Verdict(*typical < kMaxThumbnailTypicalSeconds));
}

// Not a goal: the drawing alone, without the cost of new memory, which on some
// machines is most of the painting.
void PrintPaintInPlace(const std::map<std::string, double>& medians)
{
    const auto paint = Find(medians, kPaintLargestInPlace);
    const auto floor = Find(medians, kWarmFloor);
    if (!paint || !floor)
        return;
    std::printf("painting the largest puzzle into the bitmap it has  %9.3f ms\n", Milliseconds(*paint));
    std::printf("  against filling that bitmap once                  %9.3f ms   %5.2f x\n", Milliseconds(*floor),
                *paint / *floor);
}

void PrintLoadToPicture(const std::map<std::string, double>& medians)
{
    const auto typical = Find(medians, kLoadToPictureTypical);
    const auto largest = Find(medians, kLoadToPictureLargest);
    if (typical)
        std::printf("from the start of the load to the finished picture, typical puzzle %9.3f ms\n",
                    Milliseconds(*typical));
    if (largest)
        std::printf("from the start of the load to the finished picture, largest puzzle %9.3f ms\n",
                    Milliseconds(*largest));
}

} // namespace

void CGoalTally::PrintTotal() const
{
    std::printf("%d of %d goals met%s\n", m_checked - m_missed, m_checked, m_missed == 0 ? "." : ": see MISSED.");
}

std::string LoadBenchmarkName(const std::string& label)
{
    return "Load/" + label;
}

void CMedianReporter::ReportRuns(const std::vector<Run>& runs)
{
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
        const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
        const bool only = run.run_type == Run::RT_Iteration && run.repetitions <= 1;
        if (!run.error_occurred && (median || only))
            m_medians[run.run_name.function_name] =
                run.GetAdjustedCPUTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
    }
}

void PrintGoals(const std::map<std::string, double>& medians, const std::vector<std::string>& loadLabels,
                const OtherFigures& figures)
{
    CGoalTally tally;
    std::printf("\nGoals, from the medians of the process's CPU time (user and system, which other\n"
                "programs on the machine do not stretch as they stretch the wall clock) in this run:\n");
    PrintPaintAgainstFloor(medians, tally);
    PrintTypical(medians, tally);
    PrintLoads(medians, loadLabels, tally);
    PrintPeak(figures.renderPeak, tally);
    PrintEncoding(medians, figures.pngBytes, tally);
    PrintThumbnails(medians, figures.thumbnailPeak, tally);
    PrintSolverGoals(medians, tally);
    tally.PrintTotal();
    std::printf("\nFor reference (no goals):\n");
    PrintPaintInPlace(medians);
    PrintLoadToPicture(medians);
}
