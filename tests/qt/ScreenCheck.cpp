// Reads screen captures of the file manager for the end-to-end test.
//
//   screen_check shows CAPTURE REFERENCE SCROLL [centred]
//     Finds where CAPTURE shows the picture REFERENCE scrolled down by SCROLL
//     rows: the place where the reference's rows from SCROLL on stand, and how
//     much of it is shown pixel for pixel, up to the edges of the viewer
//     (its scroll bars, or the end of the picture). With "centred", the whole
//     picture must be shown with white margins of equal width (give or take
//     the odd pixel) on every side, and all of that counts as compared.
//     Prints "X Y WIDTH HEIGHT PIXELS" on success.
//   screen_check same CAPTURE OTHER MARGIN
//     Whether two captures of one size are equal, leaving out MARGIN rows at
//     the top and the bottom (the window's menu and status bar).
//
// Exits 0 when the capture shows what was asked, 1 when it does not, 2 on a
// usage or file error.
#include <QImage>
#include <QRect>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr QRgb kWhite = 0xFFFFFFFF;
// The part of the reference looked for first: enough of its top-left corner
// to stand in one place only.
constexpr int kPatchWidth = 256;
constexpr int kPatchHeight = 64;

struct Place {
    int x;
    int y;
};

QImage Load(const char* path)
{
    QImage image(QString::fromLocal8Bit(path));
    if (image.isNull()) {
        std::fprintf(stderr, "screen_check: cannot read %s\n", path);
        std::exit(2);
    }
    return image.convertToFormat(QImage::Format_RGB32);
}

QRgb At(const QImage& image, int x, int y)
{
    return reinterpret_cast<const QRgb*>(image.constScanLine(y))[x];
}

// The reference seen from row `scroll` on.
class CScrolledPicture {
public:
    CScrolledPicture(const QImage& picture, int scroll) : m_picture(picture), m_scroll(scroll) {}
    int Width() const { return m_picture.width(); }
    int Height() const { return m_picture.height() - m_scroll; }
    QRgb At(int x, int y) const { return ::At(m_picture, x, y + m_scroll); }

private:
    const QImage& m_picture;
    int m_scroll;
};

// Every place where the top-left patch of `picture` stands in `capture`. The
// patch's coloured pixels are compared first: white is everywhere.
std::vector<Place> FindPatch(const QImage& capture, const CScrolledPicture& picture)
{
    const int width = std::min(kPatchWidth, picture.Width());
    const int height = std::min(kPatchHeight, picture.Height());
    std::vector<Place> coloured;
    std::vector<Place> white;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            (picture.At(x, y) == kWhite ? white : coloured).push_back({x, y});
    coloured.insert(coloured.end(), white.begin(), white.end());

    std::vector<Place> found;
    for (int top = 0; top + height <= capture.height(); ++top) {
        for (int left = 0; left + width <= capture.width(); ++left) {
            bool equal = true;
            for (const Place& pixel : coloured) {
                if (At(capture, left + pixel.x, top + pixel.y) != picture.At(pixel.x, pixel.y)) {
                    equal = false;
                    break;
                }
            }
            if (equal)
                found.push_back({left, top});
        }
    }
    return found;
}

bool RowEqual(const QImage& capture, Place at, const CScrolledPicture& picture, int y, int width)
{
    for (int x = 0; x < width; ++x)
        if (At(capture, at.x + x, at.y + y) != picture.At(x, y))
            return false;
    return true;
}

bool ColumnEqual(const QImage& capture, Place at, const CScrolledPicture& picture, int x, int height)
{
    for (int y = 0; y < height; ++y)
        if (At(capture, at.x + x, at.y + y) != picture.At(x, y))
            return false;
    return true;
}

// The rectangle from `at` in which the capture equals the picture: the
// columns that match over the patch's rows, then the rows that match over
// those columns.
QSize ShownPart(const QImage& capture, Place at, const CScrolledPicture& picture)
{
    const int patchHeight = std::min(kPatchHeight, picture.Height());
    int width = std::min(kPatchWidth, picture.Width());
    while (width < picture.Width() && at.x + width < capture.width() &&
           ColumnEqual(capture, at, picture, width, patchHeight))
        ++width;
    int height = patchHeight;
    while (height < picture.Height() && at.y + height < capture.height() &&
           RowEqual(capture, at, picture, height, width))
        ++height;
    return {width, height};
}

// White pixels from (x, y) on in steps of (dx, dy), up to the first other one.
int WhiteRun(const QImage& capture, int x, int y, int dx, int dy)
{
    int run = 0;
    for (x += dx, y += dy; capture.valid(x, y) && At(capture, x, y) == kWhite; x += dx, y += dy)
        ++run;
    return run;
}

bool WhiteArea(const QImage& capture, const QRect& area)
{
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (At(capture, x, y) != kWhite)
                return false;
    return true;
}

// The picture is centred when the white around it reaches equally far on
// both sides of each axis; the whole client area around it must be white.
std::optional<long> CentredArea(const QImage& capture, Place at, QSize shown)
{
    const int left = WhiteRun(capture, at.x, at.y + shown.height() / 2, -1, 0);
    const int right = WhiteRun(capture, at.x + shown.width() - 1, at.y + shown.height() / 2, 1, 0);
    const int top = WhiteRun(capture, at.x + shown.width() / 2, at.y, 0, -1);
    const int bottom = WhiteRun(capture, at.x + shown.width() / 2, at.y + shown.height() - 1, 0, 1);
    std::fprintf(stderr, "screen_check: white margins left %d, right %d, top %d, bottom %d\n", left, right, top, bottom);
    if (std::abs(left - right) > 1 || std::abs(top - bottom) > 1)
        return std::nullopt;
    const QRect client(at.x - left, at.y - top, left + shown.width() + right, top + shown.height() + bottom);
    const QRect picture(at.x, at.y, shown.width(), shown.height());
    for (const QRect& margin : {QRect(client.left(), client.top(), left, client.height()),
                                QRect(picture.right() + 1, client.top(), right, client.height()),
                                QRect(picture.left(), client.top(), picture.width(), top),
                                QRect(picture.left(), picture.bottom() + 1, picture.width(), bottom)})
        if (!WhiteArea(capture, margin))
            return std::nullopt;
    return long{client.width()} * client.height();
}

int Shows(const char* capturePath, const char* referencePath, int scroll, bool centred)
{
    const QImage capture = Load(capturePath);
    const QImage reference = Load(referencePath);
    if (scroll < 0 || scroll >= reference.height())
        return 2;
    const CScrolledPicture picture(reference, scroll);
    const std::vector<Place> found = FindPatch(capture, picture);
    if (found.size() != 1) {
        std::fprintf(stderr, "screen_check: the picture stands in %zu places\n", found.size());
        return 1;
    }
    const Place at = found.front();
    const QSize shown = ShownPart(capture, at, picture);
    long pixels = long{shown.width()} * shown.height();
    if (centred) {
        if (shown != QSize(picture.Width(), picture.Height())) {
            std::fprintf(stderr, "screen_check: only %d x %d of the picture is shown\n", shown.width(), shown.height());
            return 1;
        }
        const std::optional<long> client = CentredArea(capture, at, shown);
        if (!client)
            return 1;
        pixels = *client;
    }
    std::printf("%d %d %d %d %ld\n", at.x, at.y, shown.width(), shown.height(), pixels);
    return 0;
}

int Same(const char* capturePath, const char* otherPath, int margin)
{
    const QImage capture = Load(capturePath);
    const QImage other = Load(otherPath);
    if (capture.size() != other.size() || 2 * margin >= capture.height())
        return 1;
    long differing = 0;
    for (int y = margin; y < capture.height() - margin; ++y)
        for (int x = 0; x < capture.width(); ++x)
            differing += At(capture, x, y) != At(other, x, y);
    std::printf("%ld\n", differing);
    return differing == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "shows" && (argc == 5 || (argc == 6 && std::string(argv[5]) == "centred")))
        return Shows(argv[2], argv[3], std::atoi(argv[4]), argc == 6);
    if (command == "same" && argc == 5)
        return Same(argv[2], argv[3], std::atoi(argv[4]));
    std::fprintf(stderr, "usage: screen_check shows CAPTURE REFERENCE SCROLL [centred]\n"
                         "       screen_check same CAPTURE OTHER MARGIN\n");
    return 2;
}
