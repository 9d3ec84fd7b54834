#include "cli/PngWriter.h"

#include <png.h>

#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

void RowToRgb(const RasterBitmap& bitmap, int y, std::vector<png_byte>& rgb)
{
    for (int x = 0; x < bitmap.width; ++x) {
        const Colour colour = bitmap.At(x, y);
        rgb[3 * static_cast<std::size_t>(x)] = RedOf(colour);
        rgb[3 * static_cast<std::size_t>(x) + 1] = GreenOf(colour);
        rgb[3 * static_cast<std::size_t>(x) + 2] = BlueOf(colour);
    }
}

// libpng reports its errors by longjmp; nothing with a destructor may live
// between the setjmp and the calls that can jump.
bool Encode(std::FILE* file, const RasterBitmap& bitmap, std::vector<png_byte>& rgb)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(bitmap.width), static_cast<png_uint_32>(bitmap.height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < bitmap.height; ++y) {
        RowToRgb(bitmap, y, rgb);
        png_write_row(png, rgb.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

} // namespace

bool WritePng(const std::string& path, const RasterBitmap& bitmap, std::string& error)
{
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
    if (!file) {
        error = std::strerror(errno);
        return false;
    }
    std::vector<png_byte> rgb(3 * static_cast<std::size_t>(bitmap.width));
    if (!Encode(file.get(), bitmap, rgb)) {
        error = "the PNG encoder failed";
        return false;
    }
    if (std::fclose(file.release()) != 0) {
        error = std::strerror(errno);
        return false;
    }
    return true;
}
