#pragma once

#include "model/TessGrid.h"

#include <string>

// Writes the puzzle's thumbnail of at most size x size pixels (PaintThumbnail)
// as a PNG; false with `error` set when it cannot be made or written. It paints
// at a cell size of its own, which it leaves in the puzzle's settings and
// layout extent.
bool WriteThumbnail(CTessGrid& puzzle, int size, const std::string& output, std::string& error);
