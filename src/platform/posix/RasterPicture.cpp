#include "platform/posix/RasterPicture.h"

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
