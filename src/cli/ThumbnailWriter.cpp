#include "cli/ThumbnailWriter.h"

#include "cli/PngWriter.h"
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

bool WriteThumbnail(CTessGrid& puzzle, int size, const std::string& output, std::string& error)
{
    const ThumbnailPlan plan = PlanThumbnail(puzzle, size);
    const std::unique_ptr<CRasterSurface> picture = PaintScrollArea(puzzle);
    if (!picture) {
        error = "a picture of " + std::to_string(puzzle.m_layoutWidth + kScrollMargin) + " x " +
                std::to_string(puzzle.m_layoutHeight + kScrollMargin) + " pixels could not be made";
        return false;
    }
    const RasterBitmap& painted = picture->SelectedBitmap();
    const bool shrunk = plan.width < painted.width || plan.height < painted.height;
    return WritePng(output, shrunk ? Shrink(painted, plan.width, plan.height) : painted, error);
}
