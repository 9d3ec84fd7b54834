#include "model/TessGrid.h"
#include "render/DrawingSurface.h"
#include "render/Numbers.h"

#include <cstdlib>
#include <string>

namespace {

// Three pixel columns per digit, left to right; bit 6 is the top row, bit 0 the
// bottom row of the seven.
constexpr std::uint8_t digitGlyphs[30] = {
    0x3E, 0x41, 0x3E, 0x21, 0x7F, 0x01, 0x23, 0x45, 0x39, 0x22, 0x49, 0x36, 0x78, 0x08, 0x7F,
    0x72, 0x51, 0x4E, 0x3E, 0x49, 0x26, 0x47, 0x58, 0x60, 0x36, 0x49, 0x36, 0x32, 0x49, 0x3E,
};

// Anchor of a number centred in a cell: the left column a single digit would
// take, and the top row of every glyph.
int HorizontalAnchor(int cellX, int cs)
{
    return cs % 2 == 0 ? cellX + cs / 2 - 1 : cellX + cs / 2;
}

int VerticalAnchor(int cellY, int cs)
{
    return cs % 2 == 0 ? cellY + cs / 2 - 3 : cellY + cs / 2 - 2;
}

// Neighbouring glyphs keep one untouched pixel column between them.
void DrawNumber(int anchorX, int anchorY, int n, bool white, CDrawingSurface& dc)
{
    if (n < 10) {
        CTessGrid::DrawDigit(anchorX, anchorY, n, white, dc);
    } else if (n < 100) {
        CTessGrid::DrawDigit(anchorX - 2, anchorY, n / 10, white, dc);
        CTessGrid::DrawDigit(anchorX + 2, anchorY, n % 10, white, dc);
    } else {
        CTessGrid::DrawDigit(anchorX - 4, anchorY, n / 100, white, dc);
        CTessGrid::DrawDigit(anchorX, anchorY, n / 10 % 10, white, dc);
        CTessGrid::DrawDigit(anchorX + 4, anchorY, n % 10, white, dc);
    }
}

} // namespace

int MultiplyDivide(int number, int numerator, int denominator)
{
    if (denominator == 0)
        return -1;
    if (denominator < 0) {
        number = -number;
        denominator = -denominator;
    }
    const std::int64_t product = std::int64_t{number} * numerator;
    const std::int64_t half = denominator / 2;
    const std::int64_t result = (product >= 0 ? product + half : product - half) / denominator;
    return result > 2147483647 || result < -2147483647 ? -1 : static_cast<int>(result);
}

int ClueFontHeight(int pixelsPerInch, int cellSize)
{
    return -std::abs(MultiplyDivide(pixelsPerInch, ClueFontTenthsOfPoint(cellSize), 720));
}

int ClueFontTenthsOfPoint(int cellSize)
{
    return 8 * cellSize - 23;
}

void CTessGrid::DrawDigit(int x, int y, int digit, bool white, CDrawingSurface& dc)
{
    const Colour ink = white ? kWhite : kBlack;
    for (int i = 0; i < 3; ++i) {
        const std::uint8_t column = digitGlyphs[3 * digit + i];
        for (int j = 0; j < 7; ++j) {
            if (column >> j & 1)
                dc.SetPixel(x + i, y + 6 - j, ink);
        }
    }
}

bool CTessGrid::DrawRulerNumber(int n, bool isColumn, CDrawingSurface& dc)
{
    if (n < 1 || n > 255)
        return false;
    const auto [width, height] = LayoutExtent();
    const int cs = m_settings.cellSize();
    int x = 0;
    int y = 0;
    if (isColumn) {
        if (!CellOrigin(ColumnClue, n - 1, 0, x, y))
            return false;
        DrawNumber(HorizontalAnchor(x, cs), y - 10, n, false, dc);
        DrawNumber(HorizontalAnchor(x, cs), y + height + 1, n, false, dc);
    } else {
        if (!CellOrigin(RowClue, 0, n - 1, x, y))
            return false;
        DrawNumber(x - 8, VerticalAnchor(y, cs), n, false, dc);
        DrawNumber(x + width + 3, VerticalAnchor(y, cs), n, false, dc);
    }
    return true;
}

void CTessGrid::DrawClueNumber(int x, int y, int value, std::uint8_t colour, CDrawingSurface& dc)
{
    const int cs = m_settings.cellSize();
    const std::uint8_t entry = PaletteIndex(colour);
    const bool white = m_darkColour[entry] != 0;
    if (m_settings.pixelDigits()) {
        DrawNumber(HorizontalAnchor(x, cs), VerticalAnchor(y, cs), value, white, dc);
        return;
    }
    dc.SetBkColor(PaletteColour(colour));
    dc.SetTextColor(white ? kWhite : kBlack);
    const CSelectedObject font(dc, dc.CreateTextFont(kClueFontFace, ClueFontHeight(dc.PixelsPerInchY(), cs)));
    const DrawRect rect = cs >= 40 ? DrawRect{x + 2, y + 1, x + cs, y + cs} : DrawRect{x + 1, y + 1, x + cs + 1, y + cs};
    dc.DrawCentredText(std::to_string(value), rect);
}
