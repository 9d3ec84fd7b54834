// Thumbnails: the cell size they are painted at, how they are shrunk, and how
// one looks. To make the golden thumbnail again after a deliberate change of
// the look: GRIDLOOK_UPDATE_GOLDEN=1 ctest -R Thumbnail
#include "cli/PngWriter.h"
#include "cli/ThumbnailWriter.h"
#include "support/Pixels.h"
#include "support/PuzzleFiles.h"
#include "thumbnail/AreaAverage.h"
#include "thumbnail/ThumbnailPlan.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace {

std::vector<Colour> Shrink(const std::vector<Colour>& source, int width, int height, int targetWidth,
                           int targetHeight)
{
    std::vector<Colour> target(static_cast<std::size_t>(targetWidth) * targetHeight);
    ShrinkByAreaAverage({source, width, height}, {target, targetWidth, targetHeight});
    return target;
}

Colour Grey(std::uint8_t level)
{
    return MakeColour(level, level, level);
}

TEST(AreaAverage, EachTargetPixelIsTheRoundedMeanOfWhatItCovers)
{
    // Two 2 x 2 blocks: 0, 0, 255, 0 gives 63.75, and 255, 255, 255, 0 gives 191.25.
    EXPECT_EQ(Shrink({Grey(0), Grey(0), Grey(255), Grey(255), Grey(255), Grey(0), Grey(255), Grey(0)}, 4, 2, 2, 1),
              (std::vector<Colour>{Grey(64), Grey(191)}));
    // Three pixels into two: each target takes two thirds of its outer pixel
    // and one third of the middle one.
    EXPECT_EQ(Shrink({MakeColour(0, 30, 0), MakeColour(90, 30, 0), MakeColour(180, 30, 3)}, 3, 1, 2, 1),
              (std::vector<Colour>{MakeColour(30, 30, 0), MakeColour(150, 30, 2)}));
}

TEST(AreaAverage, OneColourStaysThatColourAtAnyRatio)
{
    const Colour colour = MakeColour(13, 200, 77);
    for (const auto& [width, height] : {std::pair{7, 5}, std::pair{3, 2}, std::pair{1, 1}, std::pair{7, 1}})
        EXPECT_EQ(Shrink(std::vector<Colour>(35, colour), 7, 5, width, height),
                  std::vector<Colour>(static_cast<std::size_t>(width) * height, colour))
            << width << " x " << height;
}

std::unique_ptr<CTessGrid> Example(const char* name, const SettingsOverlay& overlay = {})
{
    auto puzzle = std::make_unique<CTessGrid>(std::string(GRIDLOOK_SOURCE_DIR "/examples/") + name, overlay);
    EXPECT_EQ(puzzle->m_status, LoadOk) << name;
    return puzzle;
}

SettingsOverlay CellSize(std::uint8_t cellSize)
{
    SettingsOverlay overlay;
    overlay.cellSize = cellSize;
    return overlay;
}

void ExpectPlan(CTessGrid& puzzle, int size, const ThumbnailPlan& expected)
{
    const ThumbnailPlan plan = PlanThumbnail(puzzle, size);
    EXPECT_EQ(plan.cellSize, expected.cellSize) << "at " << size;
    EXPECT_EQ(plan.width, expected.width) << "at " << size;
    EXPECT_EQ(plan.height, expected.height) << "at " << size;
}

// The viewer's picture at the cell sizes below: the sailboat has 6 + 15 cells
// across and 3 + 15 down, so at cell size 10 its picture is 246 x 216.
TEST(ThumbnailPlan, APictureThatFitsIsPaintedWithTheLargestCellsUpToTheViewersAndKeptWhole)
{
    ExpectPlan(*Example("plus.tgr"), 256, {12, 118, 118});
    ExpectPlan(*Example("sailboat.tessa"), 256, {10, 246, 216});
    ExpectPlan(*Example("sailboat.tessa"), 1024, {12, 288, 252});
    ExpectPlan(*Example("house.tgp"), 128, {11, 122, 123});
    ExpectPlan(*Example("plus.tgr", CellSize(0)), 64, {0, 34, 34});
}

// Below 8 pixels the digits no longer fit a cell: the picture is painted with
// cells of 8, or the viewer's when they are smaller, and shrunk to fit.
TEST(ThumbnailPlan, CellsTooSmallForDigitsArePaintedLargerAndShrunkInProportion)
{
    ExpectPlan(*Example("sailboat.tessa"), 128, {8, 128, 113});       // from 204 x 180
    ExpectPlan(*Example("sailboat.tessa", CellSize(5)), 128, {5, 128, 114}); // from 141 x 126
    ExpectPlan(*Example("sailboat.tessa"), 1, {8, 1, 1});
}

TEST(ThumbnailPlan, TheLargestPuzzleIsPaintedNoWiderThan2048Pixels)
{
    NativeFile file;
    file.width = file.height = file.rowClueMax = file.columnClueMax = 255;
    file.columnClues = file.rowClues = Bytes(255 * 255 * 2, 0);
    file.picture = Bytes(255 * 255, 1);
    const auto puzzle = LoadNative(file);
    ExpectPlan(*puzzle, 256, {3, 256, 256}); // 1,614 pixels across at cell size 3
    ExpectPlan(*puzzle, 1024, {3, 1024, 1024});
}

TEST(Thumbnail, SailboatAt128LooksAsReviewed)
{
    const std::string golden = GRIDLOOK_SOURCE_DIR "/tests/golden/sailboat-thumbnail-128.png";
    const std::string written = std::getenv("GRIDLOOK_UPDATE_GOLDEN") ? golden : TestFolder() + "/thumbnail.png";
    std::string error;
    ASSERT_TRUE(WriteThumbnail(*Example("sailboat.tessa"), 128, written, error)) << error;
    RasterBitmap expected;
    RasterBitmap actual;
    ASSERT_TRUE(ReadPng(golden, expected));
    ASSERT_TRUE(ReadPng(written, actual));
    EXPECT_EQ(DifferingPixels(actual, expected), 0);
}

} // namespace
