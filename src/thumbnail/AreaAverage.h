#pragma once

#include "model/Colour.h"

#include <span>

// A picture of whole pixels, row after row, read or written through a span.
template <typename Pixel>
struct PixelGrid {
    std::span<Pixel> pixels;
    int width;
    int height;
};

// Shrinks `source` to the size of `target` (no larger in either direction):
// each target pixel is the average of the source area it covers, parts of a
// pixel weighed by the part covered, rounded to the nearest value.
void ShrinkByAreaAverage(const PixelGrid<const Colour>& source, const PixelGrid<Colour>& target);
