// PNG files as the command writes them: every pixel kept, in the fewest bits.
#include "cli/PngWriter.h"
#include "support/Pixels.h"
#include "support/PuzzleFiles.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace {

// A picture 13 pixels wide, so that packed rows end inside a byte, holding
// `count` colours (up to 273, and prime to 7) in no order, each row twice.
RasterBitmap PictureOfColours(int count)
{
    RasterBitmap bitmap{13, 42, Pixels(13 * 42)};
    for (int y = 0; y < bitmap.height; ++y) {
        for (int x = 0; x < bitmap.width; ++x) {
            const int n = (y / 2 * bitmap.width + x) * 7 % count;
            bitmap.pixels[static_cast<std::size_t>(y) * bitmap.width + x] = MakeColour(
                static_cast<std::uint8_t>(n * 37), static_cast<std::uint8_t>(n), static_cast<std::uint8_t>(n >> 8));
        }
    }
    return bitmap;
}

struct Header {
    int bitDepth;
    int colourType;
};

Header ReadHeader(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    return {static_cast<unsigned char>(bytes.at(24)), static_cast<unsigned char>(bytes.at(25))};
}

constexpr int kPalette = 3;
constexpr int kRgb = 2;

TEST(PngWriter, KeepsEveryPixelInTheFewestBits)
{
    const struct {
        int colours;
        Header header;
    } cases[] = {{1, {1, kPalette}},  {2, {1, kPalette}},   {3, {2, kPalette}},   {4, {2, kPalette}},
                 {5, {4, kPalette}},  {16, {4, kPalette}},  {17, {8, kPalette}},  {18, {8, kPalette}},
                 {256, {8, kPalette}}, {257, {8, kRgb}}};
    for (const auto& [colours, header] : cases) {
        const RasterBitmap picture = PictureOfColours(colours);
        const std::string path = TestFolder() + "/colours-" + std::to_string(colours) + ".png";
        std::string error;
        ASSERT_TRUE(WritePng(path, picture, error)) << error;
        RasterBitmap read;
        ASSERT_TRUE(ReadPng(path, read));
        EXPECT_EQ(DifferingPixels(picture, read), 0) << colours << " colours";
        const Header written = ReadHeader(path);
        EXPECT_EQ(written.bitDepth, header.bitDepth) << colours << " colours";
        EXPECT_EQ(written.colourType, header.colourType) << colours << " colours";
    }
}

TEST(PngWriter, FolderThatDoesNotExistIsAnError)
{
    std::string error;
    EXPECT_FALSE(WritePng(TestFolder() + "/no-such-folder/a.png", PictureOfColours(2), error));
    EXPECT_FALSE(error.empty());
}

} // namespace
