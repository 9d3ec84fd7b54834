#include "platform/posix/RasterSurface.h"

#include "platform/posix/RasterText.h"

#include <algorithm>
#include <cstdlib>
#include <new>
#include <utility>

namespace {

// The objects every new surface starts with; they are never deleted.
enum StockObject : DrawObject {
    kStockPen = 1,
    kStockBrush,
    kStockFont,
    kStockBitmap,
};

constexpr int kPixelsPerInch = 96;

// What a new context draws text with; the viewer never draws text in it.
constexpr const char* kStockFontFace = "sans-serif";
constexpr int kStockFontHeight = -16;

} // namespace

CRasterSurface::CRasterSurface()
    : m_pen(kStockPen)
    , m_brush(kStockBrush)
    , m_font(kStockFont)
    , m_bitmap(kStockBitmap)
{
    Add(Pen{kBlack});
    Add(Brush{kWhite});
    Add(Font{kStockFontFace, kStockFontHeight});
    Add(RasterBitmap{});
}

void CRasterSurface::SetViewportOrigin(int x, int y)
{
    m_originX = x;
    m_originY = y;
}

const RasterBitmap& CRasterSurface::SelectedBitmap() const
{
    return Selected<RasterBitmap>();
}

RasterBitmap& CRasterSurface::Bitmap()
{
    return std::get<RasterBitmap>(*m_objects[m_bitmap - 1]);
}

DrawObject CRasterSurface::Add(Object object)
{
    const auto free = std::ranges::find_if(m_objects, [](const auto& slot) { return !slot; });
    if (free != m_objects.end()) {
        *free = std::move(object);
        return static_cast<DrawObject>(free - m_objects.begin()) + 1;
    }
    m_objects.emplace_back(std::move(object));
    return m_objects.size();
}

CRasterSurface::Object* CRasterSurface::Find(DrawObject handle)
{
    if (handle == 0 || handle > m_objects.size() || !m_objects[handle - 1])
        return nullptr;
    return &*m_objects[handle - 1];
}

template <typename Kind>
const Kind& CRasterSurface::Selected() const
{
    DrawObject handle = m_pen;
    if constexpr (std::is_same_v<Kind, Brush>)
        handle = m_brush;
    else if constexpr (std::is_same_v<Kind, Font>)
        handle = m_font;
    else if constexpr (std::is_same_v<Kind, RasterBitmap>)
        handle = m_bitmap;
    return std::get<Kind>(*m_objects[handle - 1]);
}

std::unique_ptr<CDrawingSurface> CRasterSurface::CreateCompatibleDC()
{
    return std::make_unique<CRasterSurface>();
}

DrawObject CRasterSurface::CreateCompatibleBitmap(int width, int height)
{
    if (width <= 0 || height <= 0 || std::int64_t{width} * height > kMaxPicturePixels)
        return 0;
    try {
        RasterBitmap bitmap{width, height, std::vector<Colour>(static_cast<std::size_t>(width) * height, kBlack)};
        return Add(std::move(bitmap));
    } catch (const std::bad_alloc&) {
        return 0;
    }
}

DrawObject CRasterSurface::CreateSolidBrush(Colour colour)
{
    return Add(Brush{colour});
}

DrawObject CRasterSurface::CreatePen(Colour colour)
{
    return Add(Pen{colour});
}

DrawObject CRasterSurface::CreateTextFont(const char* faceName, int height)
{
    return Add(Font{faceName, height});
}

DrawObject CRasterSurface::SelectObject(DrawObject handle)
{
    Object* object = Find(handle);
    if (!object)
        return 0;
    DrawObject* slot = std::visit(
        [&](auto& kind) -> DrawObject* {
            using Kind = std::decay_t<decltype(kind)>;
            if constexpr (std::is_same_v<Kind, Pen>)
                return &m_pen;
            else if constexpr (std::is_same_v<Kind, Brush>)
                return &m_brush;
            else if constexpr (std::is_same_v<Kind, Font>)
                return &m_font;
            else
                return &m_bitmap;
        },
        *object);
    return std::exchange(*slot, handle);
}

// Like GDI, stock objects and objects still selected are not deleted.
void CRasterSurface::DeleteObject(DrawObject handle)
{
    const bool selected = handle == m_pen || handle == m_brush || handle == m_font || handle == m_bitmap;
    if (handle > kStockBitmap && !selected && Find(handle))
        m_objects[handle - 1].reset();
}

void CRasterSurface::FillDevice(int left, int top, int right, int bottom, Colour colour)
{
    RasterBitmap& bitmap = Bitmap();
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, bitmap.width);
    bottom = std::min(bottom, bitmap.height);
    for (int y = top; y < bottom; ++y) {
        Colour* row = bitmap.pixels.data() + static_cast<std::size_t>(y) * bitmap.width;
        std::fill(row + left, row + std::max(left, right), colour);
    }
}

void CRasterSurface::PlotDevice(int x, int y, Colour colour)
{
    RasterBitmap& bitmap = Bitmap();
    if (x >= 0 && y >= 0 && x < bitmap.width && y < bitmap.height)
        bitmap.pixels[static_cast<std::size_t>(y) * bitmap.width + x] = colour;
}

void CRasterSurface::Rectangle(int left, int top, int right, int bottom)
{
    if (left > right)
        std::swap(left, right);
    if (top > bottom)
        std::swap(top, bottom);
    if (left == right || top == bottom)
        return;
    left += m_originX;
    right += m_originX;
    top += m_originY;
    bottom += m_originY;
    const Colour pen = Selected<Pen>().colour;
    FillDevice(left + 1, top + 1, right - 1, bottom - 1, Selected<Brush>().colour);
    FillDevice(left, top, right, top + 1, pen);
    FillDevice(left, bottom - 1, right, bottom, pen);
    FillDevice(left, top, left + 1, bottom, pen);
    FillDevice(right - 1, top, right, bottom, pen);
}

void CRasterSurface::MoveTo(int x, int y)
{
    m_currentX = x;
    m_currentY = y;
}

void CRasterSurface::LineTo(int x, int y)
{
    const Colour pen = Selected<Pen>().colour;
    const int dx = std::abs(x - m_currentX);
    const int dy = std::abs(y - m_currentY);
    const int stepX = x > m_currentX ? 1 : -1;
    const int stepY = y > m_currentY ? 1 : -1;
    int px = m_currentX;
    int py = m_currentY;
    int error = dx - dy;
    for (int i = std::max(dx, dy); i > 0; --i) {
        PlotDevice(px + m_originX, py + m_originY, pen);
        const int twice = 2 * error;
        if (twice > -dy) {
            error -= dy;
            px += stepX;
        }
        if (twice < dx) {
            error += dx;
            py += stepY;
        }
    }
    MoveTo(x, y);
}

void CRasterSurface::SetPixel(int x, int y, Colour colour)
{
    PlotDevice(x + m_originX, y + m_originY, colour);
}

void CRasterSurface::SetBkColor(Colour colour)
{
    m_backColour = colour;
}

void CRasterSurface::SetTextColor(Colour colour)
{
    m_textColour = colour;
}

int CRasterSurface::PixelsPerInchY()
{
    return kPixelsPerInch;
}

// Placed as a single centred line is placed: x = (left + right - width) / 2 and
// y = top + height of the rectangle / 2 - text height / 2; the text's box is
// filled with the background colour, and everything is clipped to the rectangle.
void CRasterSurface::DrawCentredText(std::string_view text, const DrawRect& rect)
{
    const Font& font = Selected<Font>();
    const MonoText rendered = RenderMonoText(font.face, std::abs(font.height), text);
    const int textHeight = rendered.ascent + rendered.descent;
    const int x = (rect.left + rect.right - rendered.width) / 2 + m_originX;
    const int y = rect.top + (rect.bottom - rect.top) / 2 - textHeight / 2 + m_originY;
    const int clipLeft = rect.left + m_originX;
    const int clipTop = rect.top + m_originY;
    const int clipRight = rect.right + m_originX;
    const int clipBottom = rect.bottom + m_originY;
    FillDevice(std::max(x, clipLeft), std::max(y, clipTop), std::min(x + rendered.width, clipRight),
               std::min(y + textHeight, clipBottom), m_backColour);
    for (const auto& [inkX, inkY] : rendered.inked) {
        const int px = x + inkX;
        const int py = y + inkY;
        if (px >= clipLeft && px < clipRight && py >= clipTop && py < clipBottom)
            PlotDevice(px, py, m_textColour);
    }
}

void CRasterSurface::PatBlt(int x, int y, int width, int height)
{
    if (width < 0) {
        x += width;
        width = -width;
    }
    if (height < 0) {
        y += height;
        height = -height;
    }
    x += m_originX;
    y += m_originY;
    FillDevice(x, y, x + width, y + height, Selected<Brush>().colour);
}

// Only the part that lies inside both bitmaps is copied.
void CRasterSurface::BitBlt(int x, int y, int width, int height, CDrawingSurface& source, int sourceX, int sourceY)
{
    auto& from = dynamic_cast<CRasterSurface&>(source);
    const RasterBitmap& in = from.Bitmap();
    RasterBitmap& out = Bitmap();
    x += m_originX;
    y += m_originY;
    sourceX += from.m_originX;
    sourceY += from.m_originY;
    const int left = std::max({0, -x, -sourceX});
    const int top = std::max({0, -y, -sourceY});
    const int right = std::min({width, out.width - x, in.width - sourceX});
    const int bottom = std::min({height, out.height - y, in.height - sourceY});
    for (int row = top; row < bottom; ++row) {
        const Colour* fromRow = in.pixels.data() + static_cast<std::size_t>(sourceY + row) * in.width + sourceX;
        Colour* toRow = out.pixels.data() + static_cast<std::size_t>(y + row) * out.width + x;
        std::copy(fromRow + left, fromRow + std::max(left, right), toRow + left);
    }
}
