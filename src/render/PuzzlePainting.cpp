#include "model/TessGrid.h"
#include "render/DrawingSurface.h"

// Each cell is a square of its colour with a one-pixel black border shared with
// its neighbours; cells drawn later paint over the borders they share with
// cells drawn earlier. Every brush and pen is made for one cell only.

void CTessGrid::PaintPuzzle(CDrawingSurface& dc)
{
    const auto [width, height] = LayoutExtent();
    const int cs = m_settings.cellSize();
    // One pixel outside the outermost cell borders: the outline is a double line.
    dc.Rectangle(m_rowClueMax == 0 ? 16 : 15, m_columnClueMax == 0 ? 16 : 15, width + 15, height + 15);
    dc.Rectangle(16, 16, m_rowClueMax * cs + 17, m_columnClueMax * cs + 17);
    for (int a = 0; a < m_width; ++a) {
        for (int b = 0; b < m_columnClueMax; ++b)
            PaintClueCell(ColumnClue, a, b, dc);
    }
    for (int b = 0; b < m_height; ++b) {
        for (int a = 0; a < m_rowClueMax; ++a)
            PaintClueCell(RowClue, a, b, dc);
    }
    for (int a = 0; a < m_width; ++a) {
        for (int b = 0; b < m_height; ++b)
            PaintGridCell(a, b, (*m_picture)[b][a], dc);
    }
    for (bool isColumn : {true, false}) {
        const int count = isColumn ? m_width : m_height;
        for (int n = 5; n <= count; n += 5)
            DrawRulerNumber(n, isColumn, dc);
        if (count % 5 != 0)
            DrawRulerNumber(count, isColumn, dc);
    }
}

void CTessGrid::PaintClueCell(CellArea area, int a, int b, CDrawingSurface& dc)
{
    int x = 0;
    int y = 0;
    if (!CellOrigin(area, a, b, x, y))
        return;
    const ClueEntry entry = area == ColumnClue ? (*m_columnClues)[a][b] : (*m_rowClues)[b][a];
    const int cs = m_settings.cellSize();
    const CSelectedObject brush(dc, dc.CreateSolidBrush(PaletteColour(entry.colour)));
    dc.Rectangle(x, y, x + cs + 1, y + cs + 1);

    const int number = entry.value & ~kCrossedFlag;
    // An empty slot, and a run too long for two digits, show as a plain cell.
    if (number == 0 || number >= 100)
        return;
    DrawClueNumber(x, y, number, entry.colour, dc);
    if ((entry.value & kCrossedFlag) == 0)
        return;
    const CSelectedObject pen(dc, dc.CreatePen(m_darkColour[PaletteIndex(entry.colour)] ? kWhite : kBlack));
    dc.MoveTo(x + 1, y + cs - 1);
    dc.LineTo(x + cs, y);
    if (!m_settings.singleStrike()) {
        dc.MoveTo(x + 2, y + cs - 1);
        dc.LineTo(x + cs, y + 1);
    }
}

void CTessGrid::PaintGridCell(int a, int b, std::uint8_t value, CDrawingSurface& dc)
{
    int x = 0;
    int y = 0;
    if (!CellOrigin(GridCell, a, b, x, y))
        return;
    const int cs = m_settings.cellSize();
    const bool markedEmpty = value == kMarkedEmpty;
    const CSelectedObject brush(dc, dc.CreateSolidBrush(PaletteColour(markedEmpty ? 0 : value)));
    dc.Rectangle(x, y, x + cs + 1, y + cs + 1);
    if (markedEmpty) {
        dc.MoveTo(x, y);
        dc.LineTo(x + cs, y + cs);
        dc.MoveTo(x, y + cs);
        dc.LineTo(x + cs, y);
    }
}
