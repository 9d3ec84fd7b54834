#include "model/TessGrid.h"
#include "platform/posix/ThumbnailPicture.h"

#include <KIO/ThumbnailCreator>
#include <KPluginFactory>

#include <QFile>
#include <QImage>

#include <algorithm>
#include <exception>

// KIO's thumbnail worker asks this plug-in for the puzzle types that the
// gridlook package declares. A file that does not load fails, so that the file
// manager keeps its icon; nothing is thrown into the worker.

namespace {

QImage ImageOf(const RasterBitmap& bitmap)
{
    // Red, green and blue in that byte order with an unused fourth byte: the
    // raster's colours as they lie in memory.
    const QImage view(reinterpret_cast<const uchar*>(bitmap.pixels.data()), bitmap.width, bitmap.height,
                      static_cast<qsizetype>(bitmap.width) * static_cast<qsizetype>(sizeof(Colour)),
                      QImage::Format_RGBX8888);
    return view.convertToFormat(QImage::Format_RGB32);
}

} // namespace

class CKioThumbnailer : public KIO::ThumbnailCreator {
public:
    CKioThumbnailer(QObject* parent, const QVariantList& arguments) : KIO::ThumbnailCreator(parent, arguments) {}

    KIO::ThumbnailResult create(const KIO::ThumbnailRequest& request) override
    {
        try {
            return Thumbnail(request);
        } catch (const std::exception&) {
            return KIO::ThumbnailResult::fail();
        }
    }

private:
    static KIO::ThumbnailResult Thumbnail(const KIO::ThumbnailRequest& request)
    {
        const QUrl& url = request.url();
        const int size = std::min(request.targetSize().width(), request.targetSize().height());
        if (!url.isLocalFile() || size < 1)
            return KIO::ThumbnailResult::fail();
        CTessGrid puzzle(QFile::encodeName(url.toLocalFile()).toStdString());
        if (puzzle.m_status != LoadOk)
            return KIO::ThumbnailResult::fail();
        std::string error;
        const std::optional<RasterBitmap> thumbnail = PaintThumbnail(puzzle, size, error);
        if (!thumbnail)
            return KIO::ThumbnailResult::fail();
        return KIO::ThumbnailResult::pass(ImageOf(*thumbnail));
    }
};

K_PLUGIN_CLASS_WITH_JSON(CKioThumbnailer, "gridlook-thumbnail.json")

#include "KioThumbnailer.moc"
