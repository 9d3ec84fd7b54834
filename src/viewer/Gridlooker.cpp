#include "viewer/Gridlooker.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

namespace {

// The bitmap is one pixel larger than the scroll area.
constexpr int kBitmapMargin = kScrollMargin + 1;

// Characters that the host's lister window acts on (its display modes).
constexpr std::string_view kHostCharacters = "1234567";

struct KeyScroll {
    std::uint32_t key;
    std::uint32_t message;
    int code;
    bool repeats;
};

// Home and End move only up and down, once whatever the repeat count.
constexpr KeyScroll kKeyScrolls[] = {
    {kVkPrior, kWmVScroll, kSbPageUp, true},     {kVkNext, kWmVScroll, kSbPageDown, true},
    {kVkEnd, kWmVScroll, kSbBottom, false},      {kVkHome, kWmVScroll, kSbTop, false},
    {kVkLeft, kWmHScroll, kSbLineUp, true},      {kVkUp, kWmVScroll, kSbLineUp, true},
    {kVkRight, kWmHScroll, kSbLineDown, true},   {kVkDown, kWmVScroll, kSbLineDown, true},
};

// The size of the viewer's one bitmap, whatever the screen. The limit is
// checked against it, so that it bounds all the viewer allocates.
ScrollSize BitmapSize(CTessGrid& puzzle)
{
    const auto [width, height] = puzzle.LayoutExtent();
    return {width + kBitmapMargin, height + kBitmapMargin};
}

bool PictureCanBeMade(CTessGrid& puzzle)
{
    const ScrollSize size = BitmapSize(puzzle);
    return std::int64_t{size.cx} * size.cy <= kMaxPicturePixels;
}

} // namespace

CGridlooker::CGridlooker(std::string fileName)
{
    auto puzzle = std::make_unique<CTessGrid>(std::move(fileName));
    if (puzzle->m_status != LoadOk || !PictureCanBeMade(*puzzle))
        return;
    m_puzzle = std::move(puzzle);
    SetPuzzleScrollSizes();
}

CGridlooker::~CGridlooker()
{
    ReleaseOffscreenObjects();
}

void CGridlooker::SetPuzzleScrollSizes()
{
    const auto [width, height] = m_puzzle->LayoutExtent();
    const int line = m_puzzle->m_settings.cellSize();
    const int page = 5 * line + 1;
    SetScrollSizes({width + kScrollMargin, height + kScrollMargin}, {page, page}, {line, line});
}

bool CGridlooker::OnMessage(std::uint32_t message, WParam wParam, LParam lParam, LResult& result)
{
    switch (message) {
    case kWmSetCursor:
        Window().SetArrowCursor();
        result = 1;
        return true;
    case kWmShowWindow:
        result = Window().DefaultProcessing(message, wParam, lParam);
        OnShowWindow(wParam != 0);
        return true;
    case kWmChar:
        OnChar(wParam, lParam);
        return false;
    case kWmKeyDown:
        OnKeyDown(wParam, lParam);
        return false;
    default:
        return CScrollView::OnMessage(message, wParam, lParam, result);
    }
}

// Only a window being shown needs its picture: a host that destroys the
// window hides it first, and painting the largest puzzle then took most of a
// second for nobody. The context and brush stay from one showing to the next;
// the rebuild makes the bitmap.
void CGridlooker::OnShowWindow(bool shown)
{
    if (!shown)
        return;
    if (!m_memDC) {
        const std::unique_ptr<CDrawingSurface> client = Window().ClientSurface();
        m_memDC = client->CreateCompatibleDC();
        m_backBrush = m_memDC->CreateSolidBrush(m_backColour);
        m_originalBrush = m_memDC->SelectObject(m_backBrush);
        m_memDC->SetBkColor(m_backColour);
    }
    RebuildPicture();
}

void CGridlooker::ReleaseOffscreenObjects()
{
    if (!m_memDC)
        return;
    if (m_originalBitmap)
        m_memDC->SelectObject(m_originalBitmap);
    m_memDC->SelectObject(m_originalBrush);
    m_memDC->DeleteObject(m_bitmap);
    m_memDC->DeleteObject(m_backBrush);
    m_memDC.reset();
    m_bitmap = m_backBrush = m_originalBitmap = m_originalBrush = 0;
}

bool CGridlooker::RebuildPicture()
{
    if (!m_puzzle || !m_memDC)
        return false;
    const ScrollSize size = BitmapSize(*m_puzzle);
    const DrawObject bitmap = m_memDC->CreateCompatibleBitmap(size.cx, size.cy);
    if (!bitmap)
        return false;
    const DrawObject replaced = m_memDC->SelectObject(bitmap);
    if (m_bitmap)
        m_memDC->DeleteObject(m_bitmap);
    else
        m_originalBitmap = replaced;
    m_bitmap = bitmap;
    m_bitmapWidth = size.cx;
    m_bitmapHeight = size.cy;
    m_memDC->PatBlt(0, 0, m_bitmapWidth, m_bitmapHeight);
    PaintPuzzle(*m_memDC);
    SetPuzzleScrollSizes();
    return true;
}

void CGridlooker::PaintPuzzle(CDrawingSurface& dc)
{
    m_puzzle->PaintPuzzle(dc);
}

std::pair<int, int> CGridlooker::GetCentreOffset() const
{
    if (!m_puzzle || !m_puzzle->m_settings.centrePicture())
        return {0, 0};
    const ScrollSize client = Window().ClientSize();
    const int x = client.cx - m_puzzle->m_layoutWidth - kScrollMargin;
    const int y = client.cy - m_puzzle->m_layoutHeight - kScrollMargin;
    return {x < 0 ? 0 : x / 2, y < 0 ? 0 : y / 2};
}

// One copy at the centring offset, and white fills of whatever part of the
// client area the picture leaves: the margins before it, and beyond it where
// the window is larger than the picture. The fills stand at the scroll
// position, so that they cover the client area however far either axis has
// scrolled.
void CGridlooker::CopyToScreen(CDrawingSurface& dc)
{
    const ScrollSize scroll = ScrollPosition();
    const auto offset = GetCentreOffset();
    if (HasPicture())
        dc.BitBlt(scroll.cx + offset.first, scroll.cy + offset.second, m_bitmapWidth, m_bitmapHeight, *m_memDC,
                  scroll.cx, scroll.cy);
    FillAroundPicture(dc, Window().ClientSize(), offset);
}

// In client coordinates: the copy covers from the offset to the end of the
// picture, less what has scrolled out of sight.
void CGridlooker::FillAroundPicture(CDrawingSurface& dc, ScrollSize client, std::pair<int, int> offset) const
{
    const auto [offsetX, offsetY] = offset;
    const ScrollSize scroll = ScrollPosition();
    const int right = offsetX + std::max(0, (HasPicture() ? m_bitmapWidth : 0) - scroll.cx);
    const int bottom = offsetY + std::max(0, (HasPicture() ? m_bitmapHeight : 0) - scroll.cy);
    const auto fill = [&](int x, int y, int width, int height) {
        if (width > 0 && height > 0)
            dc.PatBlt(scroll.cx + x, scroll.cy + y, width, height);
    };
    fill(0, 0, offsetX, client.cy);
    fill(offsetX, 0, client.cx - offsetX, offsetY);
    fill(right, offsetY, client.cx - right, client.cy - offsetY);
    fill(offsetX, bottom, std::min(right, client.cx) - offsetX, client.cy - bottom);
}

void CGridlooker::OnKeyDown(WParam key, LParam lParam)
{
    const auto scroll = std::ranges::find(kKeyScrolls, key, &KeyScroll::key);
    if (scroll == std::end(kKeyScrolls))
        return;
    const unsigned repeatCount = LowWord(static_cast<std::uintptr_t>(lParam));
    const unsigned times = scroll->repeats ? repeatCount : std::min(repeatCount, 1u);
    for (unsigned i = 0; i < times; ++i)
        Window().SendToSelf(scroll->message, MakeWParam(static_cast<unsigned>(scroll->code), 0), 0);
}

// The host acts on these characters; the repeat count is not passed on, and
// the flags arrive in the low word.
void CGridlooker::OnChar(WParam character, LParam lParam)
{
    const char low = static_cast<char>(character & 0xFF);
    if (kHostCharacters.find(low) == std::string_view::npos)
        return;
    Window().SendToParent(kWmChar, character, static_cast<LParam>(HighWord(static_cast<std::uintptr_t>(lParam))));
}
