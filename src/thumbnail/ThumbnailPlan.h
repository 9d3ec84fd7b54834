#pragma once

#include "model/TessGrid.h"

#include <cstdint>

// How a thumbnail of a puzzle is made: the viewer's picture painted at
// `cellSize`, then shrunk to `width` x `height` when it is larger.
struct ThumbnailPlan {
    std::uint8_t cellSize;
    int width;
    int height;
};

// The plan for a thumbnail of at most size x size pixels. It leaves the
// puzzle's cell size and layout extent at the plan's, ready to be painted.
ThumbnailPlan PlanThumbnail(CTessGrid& puzzle, int size);
