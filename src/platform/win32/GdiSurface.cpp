#include "platform/win32/GdiSurface.h"

#include <cstring>

namespace {

HGDIOBJ ObjectOf(DrawObject object)
{
    return reinterpret_cast<HGDIOBJ>(object);
}

DrawObject Handle(HGDIOBJ object)
{
    return reinterpret_cast<DrawObject>(object);
}

} // namespace

CGdiSurface::CGdiSurface(HDC dc, Release release, HWND window) : m_dc(dc), m_release(release), m_window(window) {}

CGdiSurface::~CGdiSurface()
{
    if (m_release == Release::DeleteDC)
        ::DeleteDC(m_dc);
    else if (m_release == Release::ReleaseDC)
        ::ReleaseDC(m_window, m_dc);
}

std::unique_ptr<CDrawingSurface> CGdiSurface::CreateCompatibleDC()
{
    return std::make_unique<CGdiSurface>(::CreateCompatibleDC(m_dc), Release::DeleteDC);
}

// A memory context starts with a one-pixel monochrome bitmap, and a bitmap
// made compatible with that would be monochrome too: bitmaps for a memory
// context are made compatible with the display it was made for.
DrawObject CGdiSurface::CreateCompatibleBitmap(int width, int height)
{
    if (::GetObjectType(m_dc) != OBJ_MEMDC)
        return Handle(::CreateCompatibleBitmap(m_dc, width, height));
    const HDC display = ::GetDC(nullptr);
    const HBITMAP bitmap = ::CreateCompatibleBitmap(display, width, height);
    ::ReleaseDC(nullptr, display);
    return Handle(bitmap);
}

DrawObject CGdiSurface::CreateSolidBrush(Colour colour)
{
    return Handle(::CreateSolidBrush(colour));
}

DrawObject CGdiSurface::CreatePen(Colour colour)
{
    return Handle(::CreatePen(PS_SOLID, 1, colour));
}

DrawObject CGdiSurface::CreateTextFont(const char* faceName, int height)
{
    LOGFONTA font{};
    font.lfHeight = height;
    font.lfCharSet = DEFAULT_CHARSET;
    std::strncpy(font.lfFaceName, faceName, LF_FACESIZE - 1);
    return Handle(::CreateFontIndirectA(&font));
}

DrawObject CGdiSurface::SelectObject(DrawObject object)
{
    return Handle(::SelectObject(m_dc, ObjectOf(object)));
}

void CGdiSurface::DeleteObject(DrawObject object)
{
    ::DeleteObject(ObjectOf(object));
}

void CGdiSurface::Rectangle(int left, int top, int right, int bottom)
{
    ::Rectangle(m_dc, left, top, right, bottom);
}

void CGdiSurface::MoveTo(int x, int y)
{
    ::MoveToEx(m_dc, x, y, nullptr);
}

void CGdiSurface::LineTo(int x, int y)
{
    ::LineTo(m_dc, x, y);
}

void CGdiSurface::SetPixel(int x, int y, Colour colour)
{
    ::SetPixel(m_dc, x, y, colour);
}

void CGdiSurface::SetBkColor(Colour colour)
{
    ::SetBkColor(m_dc, colour);
}

void CGdiSurface::SetTextColor(Colour colour)
{
    ::SetTextColor(m_dc, colour);
}

int CGdiSurface::PixelsPerInchY()
{
    return ::GetDeviceCaps(m_dc, LOGPIXELSY);
}

void CGdiSurface::DrawCentredText(std::string_view text, const DrawRect& rect)
{
    RECT area = {rect.left, rect.top, rect.right, rect.bottom};
    ::DrawTextA(m_dc, text.data(), static_cast<int>(text.size()), &area, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void CGdiSurface::PatBlt(int x, int y, int width, int height)
{
    ::PatBlt(m_dc, x, y, width, height, PATCOPY);
}

void CGdiSurface::BitBlt(int x, int y, int width, int height, CDrawingSurface& source, int sourceX, int sourceY)
{
    const auto& from = dynamic_cast<const CGdiSurface&>(source);
    ::BitBlt(m_dc, x, y, width, height, from.m_dc, sourceX, sourceY, SRCCOPY);
}
