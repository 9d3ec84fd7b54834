// Whole pictures of the example puzzles, compared pixel for pixel with images
// that were checked by eye when they were made. To make them again after a
// deliberate change of the look: GRIDLOOK_UPDATE_GOLDEN=1 ctest -R GoldenImage
#include "cli/PngWriter.h"
#include "platform/posix/RasterPicture.h"
#include "support/Pixels.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <string>

namespace {

struct Golden {
    const char* example;
    const char* image;
    SettingsOverlay overlay;
};

SettingsOverlay Look(std::uint8_t cellSize, bool singleStrike)
{
    SettingsOverlay overlay;
    overlay.cellSize = cellSize;
    overlay.singleStrike = singleStrike;
    overlay.pixelDigits = true;
    return overlay;
}

class GoldenImage : public testing::TestWithParam<Golden> {};

TEST_P(GoldenImage, MatchesPixelForPixel)
{
    const Golden& golden = GetParam();
    CTessGrid puzzle(std::string(GRIDLOOK_SOURCE_DIR "/examples/") + golden.example, golden.overlay);
    ASSERT_EQ(puzzle.m_status, LoadOk);
    const auto picture = PaintScrollArea(puzzle);
    ASSERT_TRUE(picture);
    const std::string path = std::string(GRIDLOOK_SOURCE_DIR "/tests/golden/") + golden.image;
    if (std::getenv("GRIDLOOK_UPDATE_GOLDEN")) {
        std::string error;
        ASSERT_TRUE(WritePng(path, picture->SelectedBitmap(), error)) << error;
    }
    RasterBitmap expected;
    ASSERT_TRUE(ReadPng(path, expected)) << path;
    EXPECT_EQ(DifferingPixels(picture->SelectedBitmap(), expected), 0) << golden.image;
}

INSTANTIATE_TEST_SUITE_P(Examples, GoldenImage,
                         testing::Values(Golden{"sailboat.tessa", "sailboat.png", Look(12, false)},
                                         Golden{"arrow-clues-only.tessa", "arrow-double-strike.png", Look(12, false)},
                                         Golden{"arrow-clues-only.tessa", "arrow-single-strike-17.png", Look(17, true)},
                                         Golden{"cup.pp", "cup.png", Look(12, false)},
                                         Golden{"smiley.tgw", "smiley-5.png", Look(5, false)}),
                         [](const testing::TestParamInfo<Golden>& golden) {
                             std::string name = golden.param.image;
                             std::erase_if(name, [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); });
                             return name;
                         });

} // namespace
