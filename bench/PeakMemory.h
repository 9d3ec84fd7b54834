#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

struct RenderPeak {
    // How far the process's resident memory rose, at its highest, above where
    // it stood before the puzzle was loaded.
    std::int64_t growthBytes = 0;
    // Four bytes per pixel of the picture painted.
    std::int64_t bitmapBytes = 0;
};

// Each loads the puzzle and makes its picture in the default look, in a child
// process, so that nothing this process allocated or freed before can hide or
// add to the figure. Empty when the child could not measure it.

// Paints the whole picture.
std::optional<RenderPeak> MeasureRenderPeak(const std::string& path);
// Writes a thumbnail of at most size x size pixels to `output`; bitmapBytes is 0.
std::optional<RenderPeak> MeasureThumbnailPeak(const std::string& path, int size, const std::string& output);

// How far the resident memory rose above where it stood before `work`, which
// runs in a child process; empty when `work` failed or nothing was measured.
std::optional<std::int64_t> MeasurePeakGrowth(const std::function<bool()>& work);
