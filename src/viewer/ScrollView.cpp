#include "viewer/ScrollView.h"

CScrollView::~CScrollView()
{
    if (m_window)
        m_window->Destroy();
}

bool CScrollView::Create(WindowHandle parent)
{
    m_window = MakeWindowGlue(*this);
    if (!m_window->Create(parent))
        m_window.reset();
    return m_window != nullptr;
}

void CScrollView::ShowWindow()
{
    m_window->Show();
}

WindowHandle CScrollView::Handle() const
{
    return m_window ? m_window->Handle() : nullptr;
}

void CScrollView::OnFinalMessage()
{
    delete this;
}

void CScrollView::SetScrollSizes(ScrollSize total, ScrollSize page, ScrollSize line)
{
    m_scroll.SetScrollSizes(total, page, line);
    if (m_window)
        ScrollBarsChanged(true);
}

void CScrollView::OnPaint(CDrawingSurface& dc)
{
    OnDraw(dc);
}

bool CScrollView::OnMessage(std::uint32_t message, WParam wParam, LParam lParam, LResult& result)
{
    result = 0;
    switch (message) {
    case kWmSize:
        OnSize();
        return true;
    case kWmHScroll:
        OnScroll(ScrollAxis::Horizontal, wParam);
        return true;
    case kWmVScroll:
        OnScroll(ScrollAxis::Vertical, wParam);
        return true;
    case kWmMouseWheel:
    case kWmMouseHWheel:
        return OnWheel(wParam, message == kWmMouseHWheel);
    default:
        return OnMouse(message, wParam, lParam);
    }
}

void CScrollView::OnSize()
{
    m_scroll.SetClientArea(m_window->ClientSizeWithoutBars(), m_window->ScrollBarThickness());
    ScrollBarsChanged(true);
}

void CScrollView::OnScroll(ScrollAxis axis, WParam wParam)
{
    const int code = static_cast<int>(LowWord(wParam));
    const int thumb = m_window->ThumbPosition(axis, static_cast<int>(HighWord(wParam)));
    ScrollBarsChanged(m_scroll.Scroll(axis, code, thumb));
}

// The wheel scrolls up and down, or sideways when nothing scrolls up and down;
// with Shift, and the sideways wheel, always sideways. A turn away from the
// user goes up, or left; a sideways turn to the right goes right. With Ctrl
// held the wheel is not the viewer's: default processing passes it on.
bool CScrollView::OnWheel(WParam wParam, bool sideways)
{
    const unsigned keys = LowWord(wParam);
    const int delta = static_cast<std::int16_t>(HighWord(wParam));
    if (keys & kMkControl)
        return false;
    const bool across = sideways || (keys & kMkShift) ||
                        (!m_scroll.HasBar(ScrollAxis::Vertical) && m_scroll.HasBar(ScrollAxis::Horizontal));
    const ScrollAxis axis = across ? ScrollAxis::Horizontal : ScrollAxis::Vertical;
    ScrollBarsChanged(m_scroll.Wheel(axis, sideways ? delta : -delta, m_window->WheelScrollLines()));
    return true;
}

bool CScrollView::OnMouse(std::uint32_t message, WParam, LParam lParam)
{
    switch (message) {
    case kWmMButtonDown:
        if (m_scroll.BeginPan(PointX(lParam), PointY(lParam)))
            m_window->CaptureMouse(true);
        return true;
    case kWmMouseMove:
        if (!m_scroll.IsPanning())
            return false;
        ScrollBarsChanged(m_scroll.PanTo(PointX(lParam), PointY(lParam)));
        return true;
    case kWmMButtonUp:
    case kWmCaptureChanged:
        if (!m_scroll.IsPanning())
            return false;
        m_scroll.EndPan();
        if (message == kWmMButtonUp)
            m_window->CaptureMouse(false);
        return true;
    default:
        return false;
    }
}

// The whole client area is drawn again after every move: a paint is one copy
// from the finished picture, so there is nothing to gain from moving pixels.
void CScrollView::ScrollBarsChanged(bool moved)
{
    m_window->ShowScrollBars(m_scroll);
    if (moved)
        m_window->Invalidate();
}
