#include "thumbnail/AreaAverage.h"

#include <algorithm>
#include <cstdint>
#include <vector>

// Lengths are counted in units that both sizes divide: along an axis of n
// source and m target pixels, a source pixel is m units long and a target
// pixel n, so every overlap is a whole number of units, and the weights of one
// target pixel add up to n along that axis.

namespace {

struct Contribution {
    int source;
    std::uint64_t weight;
};

// For each target pixel along one axis, the source pixels it covers and how
// many units of each.
std::vector<std::vector<Contribution>> ContributionsAlong(int sourceLength, int targetLength)
{
    std::vector<std::vector<Contribution>> axis(static_cast<std::size_t>(targetLength));
    for (int t = 0; t < targetLength; ++t) {
        const std::int64_t start = std::int64_t{t} * sourceLength;
        const std::int64_t end = start + sourceLength;
        for (auto s = static_cast<int>(start / targetLength); std::int64_t{s} * targetLength < end; ++s) {
            const std::int64_t from = std::max(std::int64_t{s} * targetLength, start);
            const std::int64_t to = std::min(std::int64_t{s + 1} * targetLength, end);
            axis[static_cast<std::size_t>(t)].push_back({s, static_cast<std::uint64_t>(to - from)});
        }
    }
    return axis;
}

// Adds one source row, weighed by `rowWeight`, to the red, green and blue sums
// of a target row.
void AddRow(const Colour* row, std::uint64_t rowWeight, const std::vector<std::vector<Contribution>>& columns,
            std::vector<std::uint64_t>& sums)
{
    for (std::size_t t = 0; t < columns.size(); ++t) {
        for (const auto& [source, weight] : columns[t]) {
            const std::uint64_t w = rowWeight * weight;
            sums[3 * t] += RedOf(row[source]) * w;
            sums[3 * t + 1] += GreenOf(row[source]) * w;
            sums[3 * t + 2] += BlueOf(row[source]) * w;
        }
    }
}

std::uint8_t Average(std::uint64_t sum, std::uint64_t area)
{
    return static_cast<std::uint8_t>((sum + area / 2) / area);
}

} // namespace

void ShrinkByAreaAverage(const PixelGrid<const Colour>& source, const PixelGrid<Colour>& target)
{
    const auto columns = ContributionsAlong(source.width, target.width);
    const auto rows = ContributionsAlong(source.height, target.height);
    const auto area = static_cast<std::uint64_t>(source.width) * static_cast<std::uint64_t>(source.height);
    std::vector<std::uint64_t> sums(3 * static_cast<std::size_t>(target.width));
    for (std::size_t y = 0; y < rows.size(); ++y) {
        std::ranges::fill(sums, 0);
        for (const auto& [sourceRow, weight] : rows[y])
            AddRow(&source.pixels[static_cast<std::size_t>(sourceRow) * source.width], weight, columns, sums);
        Colour* out = &target.pixels[y * target.width];
        for (std::size_t x = 0; x < columns.size(); ++x)
            out[x] = MakeColour(Average(sums[3 * x], area), Average(sums[3 * x + 1], area),
                                Average(sums[3 * x + 2], area));
    }
}
