#pragma once

#include "platform/posix/RasterSurface.h"

#include <string>

// Writes the bitmap as an 8-bit RGB PNG; false with `error` set when it cannot.
bool WritePng(const std::string& path, const RasterBitmap& bitmap, std::string& error);
