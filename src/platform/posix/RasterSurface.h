#pragma once

#include "render/DrawingSurface.h"

#include <optional>
#include <string>
#include <variant>
#include <vector>

struct RasterBitmap {
    int width = 1;
    int height = 1;
    std::vector<Colour> pixels = {kWhite};

    Colour At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// The drawing surface in software, pixel for pixel as the Windows graphics
// device interface draws (see DrawingSurface.h). Text is rendered by FreeType in
// monochrome, in the face that fontconfig finds for the name asked for.
class CRasterSurface final : public CDrawingSurface {
public:
    CRasterSurface();

    // Drawing coordinates are moved by this much, as a window's paint context
    // is moved by the scroll position.
    void SetViewportOrigin(int x, int y);
    const RasterBitmap& SelectedBitmap() const;

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
    struct Brush {
        Colour colour;
    };
    struct Pen {
        Colour colour;
    };
    struct Font {
        std::string face;
        int height;
    };
    using Object = std::variant<Brush, Pen, Font, RasterBitmap>;

    DrawObject Add(Object object);
    Object* Find(DrawObject handle);
    template <typename Kind>
    const Kind& Selected() const;

    // Device-space fills, clipped to the bitmap.
    void FillDevice(int left, int top, int right, int bottom, Colour colour);
    void PlotDevice(int x, int y, Colour colour);
    RasterBitmap& Bitmap();

    std::vector<std::optional<Object>> m_objects;
    DrawObject m_pen;
    DrawObject m_brush;
    DrawObject m_font;
    DrawObject m_bitmap;
    int m_originX = 0;
    int m_originY = 0;
    int m_currentX = 0;
    int m_currentY = 0;
    Colour m_backColour = kWhite;
    Colour m_textColour = kBlack;
};
