// The raster's own drawing, against the pixel rules it shares with GDI, and its
// short cuts against what they must never change.
#include "platform/posix/RasterSurface.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

constexpr Colour kPen = MakeColour(10, 20, 30);
constexpr Colour kBrush = MakeColour(200, 100, 50);
constexpr Colour kMark = MakeColour(1, 2, 3);

// A surface with a bitmap of its own, white all over, and the white stock brush.
struct Canvas {
    CRasterSurface dc;
    int width;
    int height;

    Canvas(int w, int h) : width(w), height(h)
    {
        dc.SelectObject(dc.CreateCompatibleBitmap(width, height));
        dc.PatBlt(0, 0, width, height);
    }

    Colour At(int x, int y) const { return dc.SelectedBitmap().At(x, y); }
};

// What Rectangle(left, top, right, bottom) leaves at (x, y), straight from the
// rule: the pen on the outermost pixels of left..right-1 by top..bottom-1, the
// brush inside them, and the pixel as it was elsewhere. A one-pixel rectangle
// is a closed line of four sides of no length: GDI draws nothing.
Colour Expected(int left, int top, int right, int bottom, int x, int y, Colour before)
{
    if (x < left || x >= right || y < top || y >= bottom || (right - left == 1 && bottom - top == 1))
        return before;
    const bool edge = x == left || x == right - 1 || y == top || y == bottom - 1;
    return edge ? kPen : kBrush;
}

TEST(RasterSurface, NewBitmapsAreBlack)
{
    for (const int side : {3, 1500}) {
        CRasterSurface dc;
        dc.SelectObject(dc.CreateCompatibleBitmap(side, side));
        const RasterBitmap& bitmap = dc.SelectedBitmap();
        EXPECT_EQ(bitmap.At(0, 0), kBlack);
        EXPECT_EQ(bitmap.At(side / 2, side / 2), kBlack);
        EXPECT_EQ(bitmap.At(side - 1, side - 1), kBlack);
    }
}

// Thin, square and wide rectangles, inside the bitmap and cut by each of its edges.
TEST(RasterSurface, RectanglesFollowThePixelRuleWhereverTheyLie)
{
    struct Box {
        int left, top, right, bottom;
    };
    const Box boxes[] = {{3, 3, 4, 4},   {3, 3, 5, 5},    {3, 3, 4, 9},    {2, 4, 9, 5},   {1, 2, 14, 15},
                         {-4, 2, 6, 8},  {12, 2, 30, 8},  {2, -5, 8, 6},   {2, 10, 8, 40}, {-9, -9, 40, 40},
                         {-3, 5, 0, 9},  {16, 5, 20, 9},  {9, 8, 2, 3}};
    for (const Box& box : boxes) {
        Canvas canvas(16, 16);
        canvas.dc.SetPixel(0, 0, kMark);
        const DrawObject pen = canvas.dc.CreatePen(kPen);
        const DrawObject brush = canvas.dc.CreateSolidBrush(kBrush);
        canvas.dc.SelectObject(pen);
        canvas.dc.SelectObject(brush);
        canvas.dc.Rectangle(box.left, box.top, box.right, box.bottom);
        const int left = std::min(box.left, box.right);
        const int right = std::max(box.left, box.right);
        const int top = std::min(box.top, box.bottom);
        const int bottom = std::max(box.top, box.bottom);
        for (int y = 0; y < canvas.height; ++y) {
            for (int x = 0; x < canvas.width; ++x) {
                const Colour before = x == 0 && y == 0 ? kMark : kWhite;
                ASSERT_EQ(canvas.At(x, y), Expected(left, top, right, bottom, x, y, before))
                    << "box " << box.left << "," << box.top << "," << box.right << "," << box.bottom << " at " << x
                    << "," << y;
            }
        }
    }
}

TEST(RasterSurface, RectanglesAreMovedByTheViewportOrigin)
{
    Canvas canvas(16, 16);
    canvas.dc.SetViewportOrigin(5, -2);
    canvas.dc.SelectObject(canvas.dc.CreatePen(kPen));
    canvas.dc.SelectObject(canvas.dc.CreateSolidBrush(kBrush));
    canvas.dc.Rectangle(0, 4, 4, 8);
    EXPECT_EQ(canvas.At(5, 2), kPen);
    EXPECT_EQ(canvas.At(6, 3), kBrush);
    EXPECT_EQ(canvas.At(8, 5), kPen);
    EXPECT_EQ(canvas.At(9, 5), kWhite);
}

// A white rectangle over a white picture needs no fill; over anything drawn
// since the picture was made white it does.
TEST(RasterSurface, FillsLeftOutOnlyWhereNothingHasDrawnSince)
{
    const auto drawMark = [](CRasterSurface& dc, int kind) {
        switch (kind) {
        case 0: dc.SetPixel(6, 6, kMark); break;
        case 1: {
            const CSelectedObject pen(dc, dc.CreatePen(kMark));
            dc.MoveTo(6, 6);
            dc.LineTo(6, 8);
            break;
        }
        case 2: {
            const CSelectedObject brush(dc, dc.CreateSolidBrush(kMark));
            dc.PatBlt(6, 6, 2, 2);
            break;
        }
        case 3: {
            CRasterSurface source;
            source.SelectObject(source.CreateCompatibleBitmap(2, 2));
            dc.BitBlt(6, 6, 2, 2, source, 0, 0);
            break;
        }
        case 4: {
            const CSelectedObject brush(dc, dc.CreateSolidBrush(kMark));
            dc.Rectangle(5, 5, 9, 9);
            break;
        }
        }
    };
    for (int kind = 0; kind < 5; ++kind) {
        Canvas canvas(16, 16);
        canvas.dc.Rectangle(1, 1, 15, 15);
        drawMark(canvas.dc, kind);
        canvas.dc.Rectangle(3, 3, 12, 12);
        EXPECT_EQ(canvas.At(6, 6), kWhite) << "mark " << kind;
        EXPECT_EQ(canvas.At(3, 3), kBlack) << "mark " << kind;
    }
}

TEST(RasterSurface, FillsLeftOutOnlyInsideTheKnownColour)
{
    Canvas canvas(16, 16);
    canvas.dc.Rectangle(2, 2, 14, 14);
    // Reaching over the outline just drawn, the inside must be filled there.
    canvas.dc.Rectangle(1, 1, 10, 10);
    EXPECT_EQ(canvas.At(2, 5), kWhite);
    EXPECT_EQ(canvas.At(5, 2), kWhite);
    EXPECT_EQ(canvas.At(1, 5), kBlack);
    // Another colour inside a white area is filled, of course.
    Canvas coloured(16, 16);
    coloured.dc.Rectangle(1, 1, 15, 15);
    coloured.dc.SelectObject(coloured.dc.CreateSolidBrush(kBrush));
    coloured.dc.Rectangle(4, 4, 8, 8);
    EXPECT_EQ(coloured.At(5, 5), kBrush);
    // A bitmap selected anew holds whatever it holds, not the last one's colour.
    Canvas swapped(16, 16);
    swapped.dc.SelectObject(swapped.dc.CreateCompatibleBitmap(16, 16));
    swapped.dc.Rectangle(2, 2, 14, 14);
    EXPECT_EQ(swapped.At(5, 5), kWhite);
}

} // namespace
