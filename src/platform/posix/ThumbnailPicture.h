#pragma once

#include "model/TessGrid.h"
#include "platform/posix/RasterSurface.h"

#include <optional>
#include <string>

// The thumbnail of a loaded puzzle, at most size x size pixels, as every
// thumbnail of ours is made (the command's and the desktop plug-ins'): painted
// by the plan of ThumbnailPlan.h and shrunk by area averaging when it is
// larger. Nothing with `error` set when no picture can be made. It leaves the
// plan's cell size in the puzzle's settings and layout extent.
std::optional<RasterBitmap> PaintThumbnail(CTessGrid& puzzle, int size, std::string& error);
