#pragma once

#include "model/Colour.h"

#include <cstdint>
#include <memory>
#include <string_view>

// The largest off-screen picture the viewer and the command make. A puzzle at
// the default cell size needs at most about 38 Mpixels; only cell sizes far
// above it on the largest puzzles go beyond. A 64-bit process takes 256 Mpixels
// (1 GiB). A 32-bit plug-in shares 2 GiB of address space with its host, whose
// own libraries cut it into pieces: an eighth of that, 64 Mpixels (256 MiB),
// is a block such a process can still be expected to find.
inline constexpr std::int64_t kMaxPicturePixels = std::int64_t{1} << (sizeof(void*) >= 8 ? 28 : 26);

// The viewer's scroll area, and every picture of it, adds a 15-pixel white
// margin on every side of the laid-out puzzle.
inline constexpr int kScrollMargin = 30;

// A brush, pen, font or bitmap made by a drawing surface; 0 is none.
using DrawObject = std::uintptr_t;

struct DrawRect {
    int left;
    int top;
    int right;
    int bottom;
};

// The drawing operations that the painting and the viewer use, with the pixel
// semantics of the Windows graphics device interface: whole pixels, no
// smoothing. On Windows each call is the GDI call of the same name; elsewhere a
// software raster does exactly the same to the pixels.
class CDrawingSurface {
public:
    virtual ~CDrawingSurface() = default;

    // A memory surface like this one, holding a 1 x 1 bitmap, with a black
    // one-pixel pen, a white brush, opaque text background and black text.
    virtual std::unique_ptr<CDrawingSurface> CreateCompatibleDC() = 0;
    // 0 when a bitmap of that size cannot be made.
    virtual DrawObject CreateCompatibleBitmap(int width, int height) = 0;
    virtual DrawObject CreateSolidBrush(Colour colour) = 0;
    // A solid pen one pixel wide.
    virtual DrawObject CreatePen(Colour colour) = 0;
    // A font of the default character set; a negative height is the character
    // height in pixels, as a logical font gives it.
    virtual DrawObject CreateTextFont(const char* faceName, int height) = 0;
    // Returns the object of the same kind that was selected before.
    virtual DrawObject SelectObject(DrawObject object) = 0;
    virtual void DeleteObject(DrawObject object) = 0;

    // Outlines the pixels left to right - 1 and top to bottom - 1 with the pen
    // and fills the inside with the brush.
    virtual void Rectangle(int left, int top, int right, int bottom) = 0;
    virtual void MoveTo(int x, int y) = 0;
    // A line with the pen from the current point up to, not including, (x, y).
    virtual void LineTo(int x, int y) = 0;
    virtual void SetPixel(int x, int y, Colour colour) = 0;

    virtual void SetBkColor(Colour colour) = 0;
    virtual void SetTextColor(Colour colour) = 0;
    virtual int PixelsPerInchY() = 0;
    // One line centred in `rect` and clipped to it; the character cells are
    // filled with the background colour.
    virtual void DrawCentredText(std::string_view text, const DrawRect& rect) = 0;

    // Fills the rectangle with the brush.
    virtual void PatBlt(int x, int y, int width, int height) = 0;
    // Copies pixels of `source` (a surface of the same kind) to this one.
    virtual void BitBlt(int x, int y, int width, int height, CDrawingSurface& source, int sourceX, int sourceY) = 0;
};

// Selects an object made for one cell; when it goes, selects the previous
// object back and deletes its own.
class CSelectedObject {
public:
    CSelectedObject(CDrawingSurface& dc, DrawObject object) : m_dc(dc), m_object(object), m_previous(dc.SelectObject(object)) {}
    ~CSelectedObject()
    {
        m_dc.SelectObject(m_previous);
        m_dc.DeleteObject(m_object);
    }
    CSelectedObject(const CSelectedObject&) = delete;
    CSelectedObject& operator=(const CSelectedObject&) = delete;

private:
    CDrawingSurface& m_dc;
    DrawObject m_object;
    DrawObject m_previous;
};

// number x numerator / denominator, rounded half away from zero as the Windows
// MulDiv rounds; -1 when the denominator is 0 or the result does not fit.
int MultiplyDivide(int number, int numerator, int denominator);
