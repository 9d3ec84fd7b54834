#pragma once

#include "viewer/ScrollModel.h"
#include "viewer/WindowGlue.h"

#include <memory>

// A window that shows a part of a larger drawing and scrolls over it with its
// scroll bars, the mouse wheel and middle-button panning. Derived views draw in
// OnDraw and may take messages first in OnMessage.
class CScrollView {
public:
    CScrollView() = default;
    virtual ~CScrollView();
    CScrollView(const CScrollView&) = delete;
    CScrollView& operator=(const CScrollView&) = delete;

    // Creates the (hidden) window; false when it cannot be made.
    bool Create(WindowHandle parent);
    void ShowWindow();
    WindowHandle Handle() const;

    // From the window layer: every message, with `result` set when handled
    // (otherwise default processing follows); paint; and the window's end.
    virtual bool OnMessage(std::uint32_t message, WParam wParam, LParam lParam, LResult& result);
    void OnPaint(CDrawingSurface& dc);
    // After the last message of a window destroyed by someone else: the view
    // ends with its window.
    virtual void OnFinalMessage();

    ScrollSize ScrollPosition() const { return m_scroll.Position(); }
    const CScrollModel& Scroll() const { return m_scroll; }

protected:
    void SetScrollSizes(ScrollSize total, ScrollSize page, ScrollSize line);
    // Draws on a paint surface whose origin is moved by the scroll position.
    virtual void OnDraw(CDrawingSurface& dc) = 0;
    CWindowGlue& Window() const { return *m_window; }

private:
    void OnSize();
    void OnScroll(ScrollAxis axis, WParam wParam);
    bool OnWheel(WParam wParam, bool sideways);
    bool OnMouse(std::uint32_t message, WParam wParam, LParam lParam);
    void ScrollBarsChanged(bool moved);

    std::unique_ptr<CWindowGlue> m_window;
    CScrollModel m_scroll;
};
