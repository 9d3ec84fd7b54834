#pragma once

#include "platform/posix/RasterSurface.h"

#include <string>

// Reading a painted picture back: the number whose 3 x 7 pixel digits stand at
// an anchor, and PNG files for the golden images.

// The digit whose glyph has its top-left pixel at (x, y), or -1.
int DigitAt(const RasterBitmap& bitmap, int x, int y, Colour ink = kBlack);
// The number of one to three digits placed at the anchor as the painting places
// it, or -1 when no such number stands there.
int NumberAt(const RasterBitmap& bitmap, int anchorX, int anchorY, Colour ink = kBlack);

bool ReadPng(const std::string& path, RasterBitmap& bitmap);

// Pixels that differ, or -1 when the sizes differ.
long DifferingPixels(const RasterBitmap& a, const RasterBitmap& b);
