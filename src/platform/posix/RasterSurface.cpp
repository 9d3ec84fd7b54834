#include "platform/posix/RasterSurface.h"

#include "platform/posix/RasterText.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <sys/mman.h>
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

constexpr std::uintptr_t kHugePageBytes = 2 * 1024 * 1024;

// Faulting in the largest picture 4 KiB at a time took longer than painting
// it: one fault per 2 MiB page costs next to nothing. Only whole huge pages
// inside the block are asked for; the system may still decline.
void OfferHugePages(void* block, std::size_t bytes)
{
#ifdef MADV_HUGEPAGE
    const auto address = reinterpret_cast<std::uintptr_t>(block);
    const std::uintptr_t first = (address + kHugePageBytes - 1) & ~(kHugePageBytes - 1);
    const std::uintptr_t end = (address + bytes) & ~(kHugePageBytes - 1);
    if (end > first)
        madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
#else
    (void)block;
    (void)bytes;
#endif
}

// Leaves [from, to) of a row alone when it is empty.
void FillRow(Colour* row, int from, int to, Colour colour)
{
    if (from < to)
        std::fill(row + from, row + to, colour);
}

} // namespace

// A large block comes from the system as fresh pages, already zero, which
// calloc does not clear again.
void* AllocateZeroed(std::size_t bytes)
{
    void* block = std::calloc(bytes, 1);
    if (block && bytes >= 2 * kHugePageBytes)
        OfferHugePages(block, bytes);
    return block;
}

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
    Select(Bitmap(), kStockBitmap);
}

void CRasterSurface::SetViewportOrigin(int x, int y)
{
    m_originX = x;
    m_originY = y;
}

const RasterBitmap& CRasterSurface::SelectedBitmap() const
{
    return std::get<RasterBitmap>(*m_objects[m_bitmap - 1]);
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

// The pen and the brush are needed only for their colours, kept at hand.
const CRasterSurface::Font& CRasterSurface::SelectedFont() const
{
    return std::get<Font>(*m_objects[m_font - 1]);
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
        // Black, as new memory is zero (see CZeroedAllocator).
        return Add(RasterBitmap{width, height, Pixels(static_cast<std::size_t>(width) * height)});
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
    return std::visit([&](auto& kind) { return Select(kind, handle); }, *object);
}

DrawObject CRasterSurface::Select(const Pen& pen, DrawObject handle)
{
    m_penColour = pen.colour;
    return std::exchange(m_pen, handle);
}

DrawObject CRasterSurface::Select(const Brush& brush, DrawObject handle)
{
    m_brushColour = brush.colour;
    return std::exchange(m_brush, handle);
}

DrawObject CRasterSurface::Select(const Font&, DrawObject handle)
{
    return std::exchange(m_font, handle);
}

DrawObject CRasterSurface::Select(RasterBitmap& bitmap, DrawObject handle)
{
    m_pixels = bitmap.pixels.data();
    m_width = bitmap.width;
    m_height = bitmap.height;
    m_knownFill.reset();
    return std::exchange(m_bitmap, handle);
}

// Like GDI, stock objects and objects still selected are not deleted.
void CRasterSurface::DeleteObject(DrawObject handle)
{
    const bool selected = handle == m_pen || handle == m_brush || handle == m_font || handle == m_bitmap;
    if (handle > kStockBitmap && !selected && Find(handle))
        m_objects[handle - 1].reset();
}

// A fill of the whole bitmap makes it known to hold that colour.
void CRasterSurface::FillDevice(int left, int top, int right, int bottom, Colour colour)
{
    WriteArea(left, top, right, bottom, colour);
    if (left <= 0 && top <= 0 && right >= m_width && bottom >= m_height)
        m_knownFill = KnownFill{{0, 0, m_width, m_height}, colour};
    else
        m_knownFill.reset();
}

void CRasterSurface::WriteArea(int left, int top, int right, int bottom, Colour colour)
{
    left = std::max(left, 0);
    right = std::min(right, m_width);
    for (int y = std::max(top, 0); y < std::min(bottom, m_height); ++y)
        FillRow(m_pixels + static_cast<std::size_t>(y) * m_width, left, right, colour);
}

void CRasterSurface::WriteOutline(const DrawRect& device)
{
    WriteArea(device.left, device.top, device.right, device.top + 1, m_penColour);
    WriteArea(device.left, device.bottom - 1, device.right, device.bottom, m_penColour);
    WriteArea(device.left, device.top, device.left + 1, device.bottom, m_penColour);
    WriteArea(device.right - 1, device.top, device.right, device.bottom, m_penColour);
}

// Every row of a rectangle is its edge row (all pen) or its middle row (pen,
// brush inside, pen). Each is laid out once and copied down the rectangle, one
// pass with each pixel written once: the painting draws some 200,000 cells,
// mostly 13 pixels wide, where copying a row beats filling its three spans.
void CRasterSurface::WriteRectangle(const DrawRect& device)
{
    const int left = std::max(device.left, 0);
    const int right = std::min(device.right, m_width);
    const int top = std::max(device.top, 0);
    const int bottom = std::min(device.bottom, m_height);
    if (left >= right || top >= bottom)
        return;
    const auto width = static_cast<std::size_t>(right - left);
    if (m_middleRow.size() < width) {
        m_edgeRow.resize(width);
        m_middleRow.resize(width);
    }
    std::fill_n(m_edgeRow.data(), width, m_penColour);
    std::fill_n(m_middleRow.data(), width, m_brushColour);
    if (device.left == left)
        m_middleRow[0] = m_penColour;
    if (device.right == right)
        m_middleRow[width - 1] = m_penColour;
    const std::int64_t stackedBelow = std::int64_t{device.bottom} - device.top - 1;
    for (int y = top; y < bottom; ++y) {
        const std::size_t start = static_cast<std::size_t>(y) * m_width + left;
        PrefetchStackedRow(start + static_cast<std::size_t>(stackedBelow * m_width), width);
        const bool edge = y == device.top || y == device.bottom - 1;
        std::memcpy(m_pixels + start, (edge ? m_edgeRow : m_middleRow).data(), width * sizeof(Colour));
    }
}

// Rectangles come in stacks: the painting goes down each column of cells, each
// cell's top edge on the bottom edge of the one before, and the rows of one
// cell lie a whole bitmap row apart, a pattern the processor does not foresee.
// So a span that the next rectangle of such a stack would write is fetched while
// this one is written. It made the largest painting a quarter faster; a
// rectangle with nothing below it costs one fetch that is not used.
void CRasterSurface::PrefetchStackedRow(std::size_t start, std::size_t width) const
{
    if (start + width <= static_cast<std::size_t>(m_width) * static_cast<std::size_t>(m_height)) {
        __builtin_prefetch(m_pixels + start, 1);
        __builtin_prefetch(m_pixels + start + width - 1, 1);
    }
}

bool CRasterSurface::HoldsKnownFill(const DrawRect& area, Colour colour) const
{
    if (!m_knownFill || m_knownFill->colour != colour || area.left >= area.right || area.top >= area.bottom)
        return false;
    const DrawRect& known = m_knownFill->area;
    return area.left >= known.left && area.top >= known.top && area.right <= known.right &&
           area.bottom <= known.bottom;
}

void CRasterSurface::PlotDevice(int x, int y, Colour colour)
{
    if (x >= 0 && y >= 0 && x < m_width && y < m_height)
        m_pixels[static_cast<std::size_t>(y) * m_width + x] = colour;
}

void CRasterSurface::Rectangle(int left, int top, int right, int bottom)
{
    if (left > right)
        std::swap(left, right);
    if (top > bottom)
        std::swap(top, bottom);
    // GDI outlines a rectangle as a closed line through its corners, each side
    // stopping short of the next corner: a rectangle of one pixel has four
    // sides of no length and no inside, and draws nothing.
    if (left == right || top == bottom || (right - left == 1 && bottom - top == 1))
        return;
    const DrawRect device{left + m_originX, top + m_originY, right + m_originX, bottom + m_originY};
    const DrawRect inside{device.left + 1, device.top + 1, device.right - 1, device.bottom - 1};
    // Filling an inside that holds the brush's colour already changes no pixel.
    // The viewer's picture starts white, and the frame and the corner box fill
    // white over all of it and over a quarter of it again.
    if (HoldsKnownFill(inside, m_brushColour)) {
        WriteOutline(device);
        m_knownFill->area = inside;
        return;
    }
    m_knownFill.reset();
    WriteRectangle(device);
}

void CRasterSurface::MoveTo(int x, int y)
{
    m_currentX = x;
    m_currentY = y;
}

void CRasterSurface::LineTo(int x, int y)
{
    m_knownFill.reset();
    const Colour pen = m_penColour;
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
    m_knownFill.reset();
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
    const Font& font = SelectedFont();
    const MonoText rendered = RenderMonoText(font.face, std::abs(font.height), text);
    const int textHeight = rendered.ascent + rendered.descent;
    const int x = (rect.left + rect.right - rendered.width) / 2 + m_originX;
    const int y = rect.top + (rect.bottom - rect.top) / 2 - textHeight / 2 + m_originY;
    const int clipLeft = rect.left + m_originX;
    const int clipTop = rect.top + m_originY;
    const int clipRight = rect.right + m_originX;
    const int clipBottom = rect.bottom + m_originY;
    m_knownFill.reset();
    WriteArea(std::max(x, clipLeft), std::max(y, clipTop), std::min(x + rendered.width, clipRight),
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
    FillDevice(x, y, x + width, y + height, m_brushColour);
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
    m_knownFill.reset();
    for (int row = top; row < bottom; ++row) {
        const Colour* fromRow = in.pixels.data() + static_cast<std::size_t>(sourceY + row) * in.width + sourceX;
        Colour* toRow = out.pixels.data() + static_cast<std::size_t>(y + row) * out.width + x;
        std::copy(fromRow + left, fromRow + std::max(left, right), toRow + left);
    }
}
