#include "cli/PngWriter.h"

#include "cli/OutputFile.h"

#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <cstring>
#include <vector>

// A painted picture holds at most 18 colours (the 16 of the palette, black and
// white; text is drawn without smoothing), so it is written as an indexed PNG,
// which keeps every pixel. Only a shrunken picture, whose averaging blends
// colours, can hold more than 256; it is written as RGB.
//
// Compression, as measured: no filter suits both kinds. On the largest indexed
// picture (6,204 x 6,204 at two bits a pixel) zlib's level 6 took 80 ms for
// 70 KB, level 1 69 ms for 135 KB, level 9 112 ms for 58 KB; the Up filter
// took as long for 64 KB and adaptive filtering half as long again for 67 KB,
// and both made the examples' pictures a fifth larger. On a 256-pixel RGB
// thumbnail, flat colours and blended lines, level 3 took 3.5 ms for 40 KB
// where level 6 took 4.9 ms for the same size, and every filter made the file
// a third larger or more.

namespace {

constexpr std::size_t kMaxPaletteColours = 256;
constexpr int kRgbCompressionLevel = 3;

// Rows written out for one row of the bitmap: palette indices, one byte each,
// then packed; or RGB.
struct RowBuffers {
    std::vector<png_byte> indices;
    std::vector<png_byte> packed;
};

const Colour* Row(const RasterBitmap& bitmap, int y)
{
    return bitmap.pixels.data() + static_cast<std::size_t>(y) * bitmap.width;
}

// Inside a cell row most rows repeat the one above; such a row is neither
// searched for colours nor packed again.
bool RepeatsRowAbove(const RasterBitmap& bitmap, int y)
{
    return y > 0 && std::memcmp(Row(bitmap, y), Row(bitmap, y - 1), bitmap.width * sizeof(Colour)) == 0;
}

std::size_t PaletteIndex(const std::vector<Colour>& palette, Colour colour)
{
    return static_cast<std::size_t>(std::ranges::lower_bound(palette, colour) - palette.begin());
}

// The bitmap's distinct colours in ascending order, or none when there are
// more than a palette holds. Neighbouring pixels mostly share a colour, so
// only a change of colour is looked up.
std::vector<Colour> CollectPalette(const RasterBitmap& bitmap)
{
    std::vector<Colour> palette{bitmap.pixels[0]};
    Colour last = bitmap.pixels[0];
    for (int y = 0; y < bitmap.height; ++y) {
        if (RepeatsRowAbove(bitmap, y))
            continue;
        const Colour* row = Row(bitmap, y);
        for (int x = 0; x < bitmap.width; ++x) {
            if (row[x] == last)
                continue;
            last = row[x];
            const std::size_t place = PaletteIndex(palette, last);
            if (place < palette.size() && palette[place] == last)
                continue;
            if (palette.size() == kMaxPaletteColours)
                return {};
            palette.insert(palette.begin() + static_cast<std::ptrdiff_t>(place), last);
        }
    }
    return palette;
}

// The fewest bits a pixel that tell `count` colours apart: 1, 2, 4 or 8.
int BitDepthFor(std::size_t count)
{
    int bits = 1;
    while ((std::size_t{1} << bits) < count)
        bits *= 2;
    return bits;
}

void RowToRgb(const RasterBitmap& bitmap, int y, std::vector<png_byte>& rgb)
{
    const Colour* row = Row(bitmap, y);
    for (int x = 0; x < bitmap.width; ++x) {
        rgb[3 * static_cast<std::size_t>(x)] = RedOf(row[x]);
        rgb[3 * static_cast<std::size_t>(x) + 1] = GreenOf(row[x]);
        rgb[3 * static_cast<std::size_t>(x) + 2] = BlueOf(row[x]);
    }
}

void IndexRow(const Colour* row, int width, const std::vector<Colour>& palette, png_byte* indices)
{
    Colour last = row[0];
    auto index = static_cast<png_byte>(PaletteIndex(palette, last));
    for (int x = 0; x < width; ++x) {
        if (row[x] != last) {
            last = row[x];
            index = static_cast<png_byte>(PaletteIndex(palette, last));
        }
        indices[x] = index;
    }
}

// Indices of kBits bits each, the leftmost pixel in the highest bits of its byte.
template <int kBits>
void PackIndices(const png_byte* indices, int width, png_byte* packed)
{
    constexpr int kPerByte = 8 / kBits;
    for (int x = 0; x < width; x += kPerByte) {
        unsigned byte = 0;
        for (int k = 0; k < kPerByte; ++k)
            byte = byte << kBits | (x + k < width ? indices[x + k] : 0u);
        packed[x / kPerByte] = static_cast<png_byte>(byte);
    }
}

void RowToIndices(const RasterBitmap& bitmap, int y, const std::vector<Colour>& palette, int bitDepth,
                  RowBuffers& buffers)
{
    IndexRow(Row(bitmap, y), bitmap.width, palette, buffers.indices.data());
    const png_byte* indices = buffers.indices.data();
    png_byte* packed = buffers.packed.data();
    switch (bitDepth) {
    case 1:
        PackIndices<1>(indices, bitmap.width, packed);
        break;
    case 2:
        PackIndices<2>(indices, bitmap.width, packed);
        break;
    case 4:
        PackIndices<4>(indices, bitmap.width, packed);
        break;
    default:
        std::copy_n(indices, bitmap.width, packed);
    }
}

// Leaves the row as it is written out in buffers.packed.
void PrepareRow(const RasterBitmap& bitmap, int y, const std::vector<Colour>& palette, int bitDepth,
                RowBuffers& buffers)
{
    if (palette.empty())
        RowToRgb(bitmap, y, buffers.packed);
    else
        RowToIndices(bitmap, y, palette, bitDepth, buffers);
}

void SetPalette(png_structp png, png_infop info, const std::vector<Colour>& palette)
{
    std::vector<png_color> entries;
    for (const Colour colour : palette)
        entries.push_back({RedOf(colour), GreenOf(colour), BlueOf(colour)});
    png_set_PLTE(png, info, entries.data(), static_cast<int>(entries.size()));
}

// The output file keeps the reason of a failed write, and the command says it
// in its one line: libpng is stopped without a message of its own.
[[noreturn]] void StopSilently(png_structp png, png_const_charp)
{
    png_longjmp(png, 1);
}

void WriteToOutput(png_structp png, png_bytep bytes, png_size_t count)
{
    if (!static_cast<COutputFile*>(png_get_io_ptr(png))->Write(bytes, count))
        png_error(png, "write failed");
}

// The output file is flushed once, when it is committed.
void FlushNothing(png_structp) {}

// libpng reports its errors by longjmp; nothing with a destructor may live
// between the setjmp and the calls that can jump.
bool Encode(COutputFile& file, const RasterBitmap& bitmap, const std::vector<Colour>& palette, int bitDepth,
            RowBuffers& buffers)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, StopSilently, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, &file, WriteToOutput, FlushNothing);
    png_set_IHDR(png, info, static_cast<png_uint_32>(bitmap.width), static_cast<png_uint_32>(bitmap.height),
                 bitDepth, palette.empty() ? PNG_COLOR_TYPE_RGB : PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (!palette.empty())
        SetPalette(png, info, palette);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    if (palette.empty())
        png_set_compression_level(png, kRgbCompressionLevel);
    png_write_info(png, info);
    for (int y = 0; y < bitmap.height; ++y) {
        if (!RepeatsRowAbove(bitmap, y))
            PrepareRow(bitmap, y, palette, bitDepth, buffers);
        png_write_row(png, buffers.packed.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

} // namespace

bool WritePng(const std::string& path, const RasterBitmap& bitmap, std::string& error)
{
    COutputFile file(path);
    if (!file.Failed()) {
        const std::vector<Colour> palette = CollectPalette(bitmap);
        const int bitDepth = palette.empty() ? 8 : BitDepthFor(palette.size());
        const auto width = static_cast<std::size_t>(bitmap.width);
        RowBuffers buffers{std::vector<png_byte>(palette.empty() ? 0 : width),
                           std::vector<png_byte>(palette.empty() ? 3 * width : width)};
        if (!Encode(file, bitmap, palette, bitDepth, buffers))
            file.Fail("the PNG encoder failed");
    }
    if (file.Commit())
        return true;
    error = file.Error();
    return false;
}
