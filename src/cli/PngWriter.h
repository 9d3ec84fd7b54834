#pragma once

#include "platform/posix/RasterSurface.h"

#include <string>

// Writes the bitmap as a PNG, indexed when it holds at most 256 colours and
// otherwise 8-bit RGB, through COutputFile: `path` is replaced only by a whole
// picture. False with `error` ("cannot write PATH: reason") when it cannot.
bool WritePng(const std::string& path, const RasterBitmap& bitmap, std::string& error);
