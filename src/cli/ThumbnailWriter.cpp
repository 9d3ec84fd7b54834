#include "cli/ThumbnailWriter.h"

#include "cli/PngWriter.h"
#include "platform/posix/ThumbnailPicture.h"

bool WriteThumbnail(CTessGrid& puzzle, int size, const std::string& output, std::string& error)
{
    const std::optional<RasterBitmap> thumbnail = PaintThumbnail(puzzle, size, error);
    return thumbnail && WritePng(output, *thumbnail, error);
}
