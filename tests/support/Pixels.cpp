#include "support/Pixels.h"

#include <png.h>

#include <cstdio>
#include <vector>

namespace {

// The glyph table again, written out independently of the painting's.
const char* const kGlyphRows[10][7] = {
    {".#.", "#.#", "#.#", "#.#", "#.#", "#.#", ".#."}, {".#.", "##.", ".#.", ".#.", ".#.", ".#.", "###"},
    {".#.", "#.#", "..#", "..#", ".#.", "#..", "###"}, {".#.", "#.#", "..#", ".#.", "..#", "#.#", ".#."},
    {"#.#", "#.#", "#.#", "###", "..#", "..#", "..#"}, {"###", "#..", "##.", "..#", "..#", "#.#", ".#."},
    {".#.", "#.#", "#..", "##.", "#.#", "#.#", ".#."}, {"###", "..#", ".#.", ".#.", "#..", "#..", "#.."},
    {".#.", "#.#", "#.#", ".#.", "#.#", "#.#", ".#."}, {".#.", "#.#", "#.#", ".##", "..#", "#.#", ".#."},
};

bool Inside(const RasterBitmap& bitmap, int x, int y)
{
    return x >= 0 && y >= 0 && x < bitmap.width && y < bitmap.height;
}

} // namespace

int DigitAt(const RasterBitmap& bitmap, int x, int y, Colour ink)
{
    for (int digit = 0; digit < 10; ++digit) {
        bool matches = true;
        for (int row = 0; row < 7 && matches; ++row) {
            for (int column = 0; column < 3 && matches; ++column) {
                const bool inked = Inside(bitmap, x + column, y + row) && bitmap.At(x + column, y + row) == ink;
                matches = inked == (kGlyphRows[digit][row][column] == '#');
            }
        }
        if (matches)
            return digit;
    }
    return -1;
}

int NumberAt(const RasterBitmap& bitmap, int anchorX, int anchorY, Colour ink)
{
    const int hundreds = DigitAt(bitmap, anchorX - 4, anchorY, ink);
    const int tens = DigitAt(bitmap, anchorX, anchorY, ink);
    const int units3 = DigitAt(bitmap, anchorX + 4, anchorY, ink);
    if (hundreds > 0 && tens >= 0 && units3 >= 0)
        return 100 * hundreds + 10 * tens + units3;
    const int tens2 = DigitAt(bitmap, anchorX - 2, anchorY, ink);
    const int units2 = DigitAt(bitmap, anchorX + 2, anchorY, ink);
    if (tens2 > 0 && units2 >= 0)
        return 10 * tens2 + units2;
    return tens;
}

bool ReadPng(const std::string& path, RasterBitmap& bitmap)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str()))
        return false;
    image.format = PNG_FORMAT_RGB;
    std::vector<png_byte> rgb(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr))
        return false;
    bitmap.width = static_cast<int>(image.width);
    bitmap.height = static_cast<int>(image.height);
    bitmap.pixels.resize(static_cast<std::size_t>(bitmap.width) * bitmap.height);
    for (std::size_t i = 0; i < bitmap.pixels.size(); ++i)
        bitmap.pixels[i] = MakeColour(rgb[3 * i], rgb[3 * i + 1], rgb[3 * i + 2]);
    return true;
}

long DifferingPixels(const RasterBitmap& a, const RasterBitmap& b)
{
    if (a.width != b.width || a.height != b.height)
        return -1;
    long differing = 0;
    for (std::size_t i = 0; i < a.pixels.size(); ++i)
        differing += a.pixels[i] != b.pixels[i];
    return differing;
}
