#pragma once

#include "PeakMemory.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

// Names of the benchmarks that the goals are reckoned from.
inline constexpr const char* kPaintLargest = "Paint/largest/pixel_digits";
inline constexpr const char* kPaintLargestInPlace = "PaintInPlace/largest/pixel_digits";
inline constexpr const char* kFloor = "Floor/new_bitmap_filled_once";
inline constexpr const char* kWarmFloor = "Floor/bitmap_in_memory_filled_once";
inline constexpr const char* kLoadToPictureTypical = "LoadToPicture/typical";
inline constexpr const char* kLoadToPictureLargest = "LoadToPicture/largest";
inline constexpr const char* kEncodePngLargest = "EncodePng/largest";
inline constexpr const char* kThumbnailTypical = "Thumbnail/typical/256";
inline constexpr const char* kThumbnailLargest = "Thumbnail/largest/256";
// The size of the thumbnails measured: a file manager's large thumbnails.
inline constexpr int kThumbnailSize = 256;
std::string LoadBenchmarkName(const std::string& label);

// Says whether each goal was met, and counts the misses.
class CGoalTally {
public:
    const char* Verdict(bool met)
    {
        m_checked += 1;
        m_missed += met ? 0 : 1;
        return met ? "met" : "MISSED";
    }
    void PrintTotal() const;

private:
    int m_checked = 0;
    int m_missed = 0;
};

// The console report, also keeping the median CPU time of every benchmark.
class CMedianReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override;

    // Seconds of CPU time, by benchmark name.
    const std::map<std::string, double>& Medians() const { return m_medians; }

private:
    std::map<std::string, double> m_medians;
};

// Figures measured apart from the timed benchmarks; each is empty when it
// could not be measured or its benchmark did not run.
struct OtherFigures {
    std::optional<RenderPeak> renderPeak;
    std::optional<RenderPeak> thumbnailPeak;
    std::optional<std::uintmax_t> pngBytes; // the largest picture's PNG file
};

// Prints each goal with its figures and whether it is met; a goal whose
// benchmarks did not run (a filter left them out) is left out. `loadLabels`
// names the largest file of each format.
void PrintGoals(const std::map<std::string, double>& medians, const std::vector<std::string>& loadLabels,
                const OtherFigures& figures);
