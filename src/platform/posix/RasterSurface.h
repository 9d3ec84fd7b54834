#pragma once

#include "render/DrawingSurface.h"

#include <cstddef>
#include <cstdlib>
#include <new>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

// Zeroed memory from the system allocator, or null.
void* AllocateZeroed(std::size_t bytes);

// Storage whose new elements are left as new memory holds them: zero. For
// pixels zero is black, so a bitmap made at its size is black without a pass
// over it (at the largest picture that pass cost as much as the whole painting
// may). An element that a vector value-initialises in memory it used before
// keeps what it held: a bitmap is made at its size once and never regrown.
template <typename Item>
class CZeroedAllocator {
public:
    using value_type = Item;

    CZeroedAllocator() = default;
    template <typename Other>
    CZeroedAllocator(const CZeroedAllocator<Other>&) noexcept
    {
    }

    Item* allocate(std::size_t count)
    {
        if (void* block = AllocateZeroed(count * sizeof(Item)))
            return static_cast<Item*>(block);
        throw std::bad_alloc();
    }
    void deallocate(Item* block, std::size_t) noexcept { std::free(block); }

    template <typename Other>
    void construct(Other* place) noexcept
    {
        ::new (static_cast<void*>(place)) Other;
    }
    template <typename Other, typename... Arguments>
    void construct(Other* place, Arguments&&... arguments)
    {
        ::new (static_cast<void*>(place)) Other(std::forward<Arguments>(arguments)...);
    }

    friend bool operator==(const CZeroedAllocator&, const CZeroedAllocator&) { return true; }
};

using Pixels = std::vector<Colour, CZeroedAllocator<Colour>>;

struct RasterBitmap {
    int width = 1;
    int height = 1;
    Pixels pixels = {kWhite};

    Colour At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// The drawing surface in software, pixel for pixel as the Windows graphics
// device interface draws (see DrawingSurface.h). Text is rendered by FreeType in
// monochrome, in the face that fontconfig finds for the name asked for.
class CRasterSurface : public CDrawingSurface {
public:
    CRasterSurface();
    // A copy would point into the bitmap of the surface it was copied from.
    CRasterSurface(const CRasterSurface&) = delete;
    CRasterSurface& operator=(const CRasterSurface&) = delete;

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
    // The pixels cached below stay valid only because a bitmap that the object
    // table moves keeps its block; a growing vector copies what may throw when moved.
    static_assert(std::is_nothrow_move_constructible_v<std::optional<Object>>);

    // An area of the selected bitmap, in device coordinates, that holds one
    // colour throughout: it was filled with it and nothing has drawn there since.
    struct KnownFill {
        DrawRect area;
        Colour colour;
    };

    DrawObject Add(Object object);
    Object* Find(DrawObject handle);
    const Font& SelectedFont() const;
    DrawObject Select(const Pen& pen, DrawObject handle);
    DrawObject Select(const Brush& brush, DrawObject handle);
    DrawObject Select(const Font& font, DrawObject handle);
    DrawObject Select(RasterBitmap& bitmap, DrawObject handle);

    // Device-space drawing, clipped to the bitmap. Only FillDevice and
    // Rectangle keep m_knownFill; every other drawing call forgets it.
    void FillDevice(int left, int top, int right, int bottom, Colour colour);
    void WriteArea(int left, int top, int right, int bottom, Colour colour);
    void WriteOutline(const DrawRect& device);
    void WriteRectangle(const DrawRect& device);
    void PrefetchStackedRow(std::size_t start, std::size_t width) const;
    bool HoldsKnownFill(const DrawRect& area, Colour colour) const;
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
    // What the drawing calls need of the selected objects, at hand. Objects
    // never change once made. A vector keeps its block when it is moved, so
    // the pixels stay where they are while the object table grows, and a
    // selected bitmap cannot be deleted.
    Colour m_penColour = kBlack;
    Colour m_brushColour = kWhite;
    Colour* m_pixels = nullptr;
    int m_width = 0;
    int m_height = 0;
    std::optional<KnownFill> m_knownFill;
    // WriteRectangle's two kinds of row, kept to spare an allocation per cell.
    std::vector<Colour> m_edgeRow;
    std::vector<Colour> m_middleRow;
};
