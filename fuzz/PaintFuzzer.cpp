// Loads any input with any reader and paints what loaded onto the raster
// surface, as the viewer paints its off-screen picture. The first bytes choose
// the reader, the cell size and the switches; the rest is the file.
#include "FuzzInput.h"
#include "platform/posix/RasterPicture.h"

#include <cstdio>
#include <cstdlib>

namespace {

// The extensions of the public formats choose nothing: each such file goes to
// the native reader, then to the public readers by its contents.
constexpr const char* kExtensions[] = {".tessa", ".tgr", ".tgw", ".tgp", ".pp", ".xml", ".non", ".g", ".mk", ".nin"};
constexpr std::size_t kSettingsBytes = 3;
constexpr std::uint8_t kPixelDigitsBit = 1;
constexpr std::uint8_t kSingleStrikeBit = 2;

// Larger pictures are painted by the same code, only for longer; leaving them
// out keeps the fuzzer's pace. They are not added to the corpus.
constexpr std::int64_t kMaxFuzzedPixels = std::int64_t{1} << 21;
constexpr int kSkipInput = -1;

SettingsOverlay OverlayOf(const std::uint8_t* settings)
{
    SettingsOverlay overlay;
    overlay.cellSize = settings[1];
    overlay.pixelDigits = (settings[2] & kPixelDigitsBit) != 0;
    overlay.singleStrike = (settings[2] & kSingleStrikeBit) != 0;
    return overlay;
}

void RequirePictureOfScrollArea(const CRasterSurface* picture, int width, int height)
{
    const bool whole = picture && picture->SelectedBitmap().width == width + kScrollMargin &&
                       picture->SelectedBitmap().height == height + kScrollMargin;
    if (whole)
        return;
    std::fprintf(stderr, "The painting did not give a picture of the whole scroll area\n");
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    PrepareFuzzFolder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < kSettingsBytes)
        return kSkipInput;
    const char* extension = kExtensions[data[0] % std::size(kExtensions)];
    const std::string path = WriteInputFile(data + kSettingsBytes, size - kSettingsBytes, extension);
    CTessGrid puzzle(path, OverlayOf(data));
    CheckLoad(puzzle, path);
    if (puzzle.m_status != LoadOk)
        return 0;
    const auto [width, height] = puzzle.LayoutExtent();
    if (std::int64_t{width + kScrollMargin} * (height + kScrollMargin) > kMaxFuzzedPixels)
        return kSkipInput;
    RequirePictureOfScrollArea(PaintScrollArea(puzzle).get(), width, height);
    return 0;
}
