#include "viewer/ScrollModel.h"

#include "viewer/WindowMessages.h"

#include <algorithm>
#include <climits>

namespace {

int& Along(ScrollSize& size, ScrollAxis axis)
{
    return axis == ScrollAxis::Horizontal ? size.cx : size.cy;
}

int Along(const ScrollSize& size, ScrollAxis axis)
{
    return axis == ScrollAxis::Horizontal ? size.cx : size.cy;
}

} // namespace

void CScrollModel::SetScrollSizes(ScrollSize total, ScrollSize page, ScrollSize line)
{
    m_total = total;
    m_page = page;
    m_line = line;
    UpdateBars();
}

void CScrollModel::SetClientArea(ScrollSize withoutBars, ScrollSize barThickness)
{
    m_withoutBars = withoutBars;
    m_barThickness = barThickness;
    UpdateBars();
}

// A bar is needed when the drawing is larger than the window; a bar on one
// axis takes room from the other, which may then need its bar too.
void CScrollModel::UpdateBars()
{
    const int spareX = m_withoutBars.cx - m_total.cx;
    const int spareY = m_withoutBars.cy - m_total.cy;
    m_horizontalBar = spareX < 0;
    m_verticalBar = spareY < 0;
    if (m_verticalBar && !m_horizontalBar)
        m_horizontalBar = spareX < m_barThickness.cx;
    if (m_horizontalBar && !m_verticalBar)
        m_verticalBar = spareY < m_barThickness.cy;
    const ScrollSize limit = MaxPosition();
    m_position = {std::clamp(m_position.cx, 0, limit.cx), std::clamp(m_position.cy, 0, limit.cy)};
}

ScrollSize CScrollModel::Client() const
{
    return {std::max(0, m_withoutBars.cx - (m_verticalBar ? m_barThickness.cx : 0)),
            std::max(0, m_withoutBars.cy - (m_horizontalBar ? m_barThickness.cy : 0))};
}

ScrollSize CScrollModel::MaxPosition() const
{
    const ScrollSize client = Client();
    return {std::max(0, m_total.cx - client.cx), std::max(0, m_total.cy - client.cy)};
}

bool CScrollModel::ScrollTo(ScrollAxis axis, int position)
{
    int& current = Along(m_position, axis);
    const int clamped = std::clamp(position, 0, Along(MaxPosition(), axis));
    const bool moved = clamped != current;
    current = clamped;
    return moved;
}

bool CScrollModel::Scroll(ScrollAxis axis, int code, int thumb)
{
    const int position = Along(m_position, axis);
    switch (code) {
    case kSbLineUp: return ScrollTo(axis, position - Along(m_line, axis));
    case kSbLineDown: return ScrollTo(axis, position + Along(m_line, axis));
    case kSbPageUp: return ScrollTo(axis, position - Along(m_page, axis));
    case kSbPageDown: return ScrollTo(axis, position + Along(m_page, axis));
    case kSbThumbPosition:
    case kSbThumbTrack: return ScrollTo(axis, thumb);
    case kSbTop: return ScrollTo(axis, 0);
    case kSbBottom: return ScrollTo(axis, INT_MAX);
    default: return false;
    }
}

bool CScrollModel::Wheel(ScrollAxis axis, int towardsEnd, unsigned linesPerNotch)
{
    const int page = Along(m_page, axis);
    int& remainder = Along(m_wheelRemainder, axis);
    if ((remainder < 0 && towardsEnd > 0) || (remainder > 0 && towardsEnd < 0))
        remainder = 0;
    const bool pages = linesPerNotch == kWheelPageScroll;
    remainder += towardsEnd * static_cast<int>(pages ? 1 : std::min(linesPerNotch, 100u));
    const int steps = remainder / kWheelDelta;
    remainder -= steps * kWheelDelta;
    const int step = std::clamp(steps * (pages ? page : Along(m_line, axis)), -page, page);
    return ScrollTo(axis, Along(m_position, axis) + step);
}

bool CScrollModel::BeginPan(int x, int y)
{
    m_panning = m_horizontalBar || m_verticalBar;
    m_panPointer = {x, y};
    m_panPosition = m_position;
    return m_panning;
}

bool CScrollModel::PanTo(int x, int y)
{
    if (!m_panning)
        return false;
    const bool movedX = ScrollTo(ScrollAxis::Horizontal, m_panPosition.cx + m_panPointer.cx - x);
    const bool movedY = ScrollTo(ScrollAxis::Vertical, m_panPosition.cy + m_panPointer.cy - y);
    return movedX || movedY;
}
