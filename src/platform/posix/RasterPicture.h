#pragma once

#include "model/TessGrid.h"
#include "platform/posix/RasterSurface.h"

#include <memory>

// The viewer's off-screen picture of a loaded puzzle, cut to its scroll area:
// W + 30 by H + 30 pixels, white where nothing is drawn. Null when a bitmap of
// that size cannot be made; the puzzle's layout extent says how large it was.
std::unique_ptr<CRasterSurface> PaintScrollArea(CTessGrid& puzzle);
