#include "platform/posix/RasterPicture.h"

// The margin of 15 pixels around the frame on every side.
constexpr int kScrollMargin = 30;

std::unique_ptr<CRasterSurface> PaintScrollArea(CTessGrid& puzzle)
{
    const auto [width, height] = puzzle.LayoutExtent();
    auto dc = std::make_unique<CRasterSurface>();
    const DrawObject bitmap = dc->CreateCompatibleBitmap(width + kScrollMargin, height + kScrollMargin);
    if (!bitmap)
        return nullptr;
    dc->SelectObject(bitmap);
    dc->PatBlt(0, 0, width + kScrollMargin, height + kScrollMargin);
    dc->SetBkColor(kWhite);
    puzzle.PaintPuzzle(*dc);
    return dc;
}
