#pragma once

#include "render/DrawingSurface.h"

#include <windows.h>

// The drawing surface on a Windows device context: each operation is the GDI
// call of its name.
class CGdiSurface final : public CDrawingSurface {
public:
    enum class Release { None, DeleteDC, ReleaseDC };

    // `window` is the window whose context ReleaseDC gives back.
    CGdiSurface(HDC dc, Release release, HWND window = nullptr);
    ~CGdiSurface() override;
    CGdiSurface(const CGdiSurface&) = delete;
    CGdiSurface& operator=(const CGdiSurface&) = delete;

    HDC Dc() const { return m_dc; }

    std::unique_ptr<CDrawingSurface> CreateCompatibleDC() override;
    DrawObject CreateCompatibleBitmap(int width, int height) override;
    DrawObject CreateSolidBrush(Colour colour) override;
    DrawObject CreatePen(Colour colour) override;
    DrawObject CreateTextFont(const char* faceName, int height) override;
    DrawObject SelectObject(DrawObject object) override;
    void DeleteObject(DrawObject object) override;
    void Rectangle(int left, int top, int right, int bottom) override;
    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    void SetPixel(int x, int y, Colour colour) override;
    void SetBkColor(Colour colour) override;
    void SetTextColor(Colour colour) override;
    int PixelsPerInchY() override;
    void DrawCentredText(std::string_view text, const DrawRect& rect) override;
    void PatBlt(int x, int y, int width, int height) override;
    void BitBlt(int x, int y, int width, int height, CDrawingSurface& source, int sourceX, int sourceY) override;

private:
    HDC m_dc;
    Release m_release;
    HWND m_window;
};
