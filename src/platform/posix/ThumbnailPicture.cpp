#include "platform/posix/ThumbnailPicture.h"

#include "platform/posix/RasterPicture.h"
#include "thumbnail/AreaAverage.h"
#include "thumbnail/ThumbnailPlan.h"

namespace {

RasterBitmap Shrink(const RasterBitmap& picture, int width, int height)
{
    RasterBitmap thumbnail{width, height, Pixels(static_cast<std::size_t>(width) * height)};
    ShrinkByAreaAverage({picture.pixels, picture.width, picture.height},
                        {thumbnail.pixels, thumbnail.width, thumbnail.height});
    return thumbnail;
}

} // namespace

std::optional<RasterBitmap> PaintThumbnail(CTessGrid& puzzle, int size, std::string& error)
{
    const ThumbnailPlan plan = PlanThumbnail(puzzle, size);
    const std::unique_ptr<CRasterSurface> picture = PaintScrollArea(puzzle);
    if (!picture) {
        error = "a picture of " + std::to_string(puzzle.m_layoutWidth + kScrollMargin) + " x " +
                std::to_string(puzzle.m_layoutHeight + kScrollMargin) + " pixels could not be made";
        return std::nullopt;
    }
    const RasterBitmap& painted = picture->SelectedBitmap();
    if (plan.width < painted.width || plan.height < painted.height)
        return Shrink(painted, plan.width, plan.height);
    return painted;
}
