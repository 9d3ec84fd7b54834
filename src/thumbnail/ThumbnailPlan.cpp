#include "thumbnail/ThumbnailPlan.h"

#include "render/DrawingSurface.h"

#include <algorithm>
#include <utility>

// A picture that fits is the viewer's own, pixel for pixel. Cells too small
// for a digit would garble the clue numbers into their neighbours, so a
// puzzle too large for that is painted with cells that hold a digit and then
// shrunk by area averaging, which blurs the numbers into shades of their
// cells instead and keeps thin lines as lighter lines.

namespace {

// The smallest cell that holds a pixel digit (7 pixels high) inside its border.
constexpr int kDigitCellSize = 8;
// The widest picture painted to be shrunk: 16 MiB at most.
constexpr int kMaxPaintedSide = 2048;

std::pair<int, int> PictureAt(CTessGrid& puzzle, int cellSize)
{
    SettingsOverlay overlay;
    overlay.cellSize = static_cast<std::uint8_t>(cellSize);
    overlay.ApplyTo(puzzle.m_settings);
    const auto [width, height] = puzzle.LayoutExtent();
    return {width + kScrollMargin, height + kScrollMargin};
}

int LongestSideAt(CTessGrid& puzzle, int cellSize)
{
    const auto [width, height] = PictureAt(puzzle, cellSize);
    return std::max(width, height);
}

// The largest cell size from `largest` down to 1 whose picture is at most
// `limit` pixels across, or 1.
int LargestCellSizeWithin(CTessGrid& puzzle, int largest, int limit)
{
    int cellSize = largest;
    while (cellSize > 1 && LongestSideAt(puzzle, cellSize) > limit)
        --cellSize;
    return cellSize;
}

int Scaled(int length, int size, int longest)
{
    return std::max(1, static_cast<int>((std::int64_t{length} * size + longest / 2) / longest));
}

} // namespace

ThumbnailPlan PlanThumbnail(CTessGrid& puzzle, int size)
{
    const int viewerCellSize = puzzle.m_settings.cellSize();
    int cellSize = LargestCellSizeWithin(puzzle, viewerCellSize, size);
    if (cellSize < std::min(viewerCellSize, kDigitCellSize))
        cellSize = LargestCellSizeWithin(puzzle, std::min(viewerCellSize, kDigitCellSize), kMaxPaintedSide);
    const auto [width, height] = PictureAt(puzzle, cellSize);
    const int longest = std::max(width, height);
    if (longest <= size)
        return {static_cast<std::uint8_t>(cellSize), width, height};
    return {static_cast<std::uint8_t>(cellSize), Scaled(width, size, longest), Scaled(height, size, longest)};
}
