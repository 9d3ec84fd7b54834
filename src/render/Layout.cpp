#include "model/TessGrid.h"

// Every fifth grid column and row starts one pixel further on, which doubles the
// line before it; the clue areas start 16 pixels in, and the grid one pixel after
// their last border line.

namespace {

bool Exists(int a, int b, int columns, int rows)
{
    return a >= 0 && b >= 0 && a < columns && b < rows;
}

} // namespace

bool CTessGrid::CellOrigin(CellArea area, int a, int b, int& x, int& y) const
{
    const int cs = m_settings.cellSize();
    const auto gridX = [&] { return (a + m_rowClueMax) * cs + a / 5 + 17; };
    const auto gridY = [&] { return (b + m_columnClueMax) * cs + b / 5 + 17; };
    switch (area) {
    case ColumnClue:
        if (!Exists(a, b, m_width, m_columnClueMax))
            return false;
        x = gridX();
        y = b * cs + 16;
        return true;
    case RowClue:
        if (!Exists(a, b, m_rowClueMax, m_height))
            return false;
        x = a * cs + 16;
        y = gridY();
        return true;
    case GridCell:
        if (!Exists(a, b, m_width, m_height))
            return false;
        x = gridX();
        y = gridY();
        return true;
    }
    return false;
}

std::pair<int, int> CTessGrid::LayoutExtent()
{
    const int cs = m_settings.cellSize();
    m_layoutWidth = (m_rowClueMax + m_width) * cs + (m_width - 1) / 5 + 4;
    m_layoutHeight = (m_columnClueMax + m_height) * cs + (m_height - 1) / 5 + 4;
    return {m_layoutWidth, m_layoutHeight};
}
