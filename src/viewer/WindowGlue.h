#pragma once

#include "render/DrawingSurface.h"
#include "viewer/ScrollModel.h"
#include "viewer/WindowMessages.h"

#include <memory>

class CScrollView;

// What a scroll view needs of the window system: its one window, the window's
// parent and the paint context. Each platform implements this
// class once (Win32 windows, a toolkit's widget, or an in-memory window for
// tests) together with the three functions below it.
//
// The platform's side calls into the view: CScrollView::OnMessage for every
// message, CScrollView::OnPaint with a paint surface whose origin it has moved
// by minus the scroll position, and CScrollView::OnFinalMessage after the last
// message of a window that was created and is destroyed by anyone but the view.
class CWindowGlue {
public:
    virtual ~CWindowGlue() = default;

    // Creates the window, hidden, as a child covering the parent's client
    // area; fails for a parent that is no window of this window system. On
    // failure the view has received nothing that deletes it.
    virtual bool Create(WindowHandle parent) = 0;
    // Destroys the window without calling the view back.
    virtual void Destroy() = 0;
    virtual WindowHandle Handle() const = 0;
    virtual void Show() = 0;

    // The client area as it is (less the scroll bars shown) and as it would be
    // without scroll bars; the room a scroll bar takes (vertical bar width,
    // horizontal bar height).
    virtual ScrollSize ClientSize() const = 0;
    virtual ScrollSize ClientSizeWithoutBars() const = 0;
    virtual ScrollSize ScrollBarThickness() const = 0;

    // A drawing surface on the window's client area, released when it goes.
    virtual std::unique_ptr<CDrawingSurface> ClientSurface() = 0;
    virtual void Invalidate() = 0;
    virtual void ShowScrollBars(const CScrollModel& scroll) = 0;
    // The thumb position of a thumb-drag message, at full width where the
    // message itself holds only 16 bits.
    virtual int ThumbPosition(ScrollAxis axis, int messagePosition) const = 0;
    virtual unsigned WheelScrollLines() const = 0;
    virtual void SetArrowCursor() = 0;
    virtual void CaptureMouse(bool capture) = 0;

    virtual LResult SendToSelf(std::uint32_t message, WParam wParam, LParam lParam) = 0;
    virtual LResult SendToParent(std::uint32_t message, WParam wParam, LParam lParam) = 0;
    virtual LResult DefaultProcessing(std::uint32_t message, WParam wParam, LParam lParam) = 0;
};

// Whether this process runs the window system this build is made for, ready
// for windows. A plug-in library may be loaded into a host of another toolkit
// (or of another major version of its own): it then declines every file and
// never touches the host's handles, which are not what it takes them for.
bool WindowSystemAvailable();
// The platform's window layer for `view`, before any window exists.
std::unique_ptr<CWindowGlue> MakeWindowGlue(CScrollView& view);
// The view whose window `window` is, or null for any other window.
CScrollView* FindView(WindowHandle window);
// Sends a message to any window, synchronously.
LResult SendWindowMessage(WindowHandle window, std::uint32_t message, WParam wParam, LParam lParam);
