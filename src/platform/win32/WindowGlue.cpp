#include "viewer/WindowGlue.h"

#include "platform/win32/GdiSurface.h"
#include "platform/win32/Module.h"
#include "viewer/ScrollView.h"

#include <utility>

// The viewer's window as a Win32 child window. The window procedure hands
// every message to the view, paints through a GDI surface whose viewport is
// moved by the scroll position, and after the window's last message ends the
// view, unless the view itself is the one destroying it.

namespace {

constexpr const char* kClassName = "GridlookViewer";
constexpr int kChildId = 1234;
constexpr DWORD kStyle = WS_CHILD | WS_VSCROLL | WS_HSCROLL;

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// No cursor, no background brush (a paint draws every pixel), no icon.
bool RegisterViewerClass()
{
    WNDCLASSA windowClass{};
    if (GetClassInfoA(PluginModule(), kClassName, &windowClass))
        return true;
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = WindowProcedure;
    windowClass.hInstance = PluginModule();
    windowClass.lpszClassName = kClassName;
    return RegisterClassA(&windowClass) != 0;
}

class Win32Glue final : public CWindowGlue {
public:
    explicit Win32Glue(CScrollView& view) : m_view(view) {}
    ~Win32Glue() override { Destroy(); }

    static Win32Glue* Of(HWND window)
    {
        return reinterpret_cast<Win32Glue*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    }
    CScrollView& View() { return m_view; }
    // Messages arrive during the creation already, before it has returned.
    void Attach(HWND window) { m_window = window; }

    bool Create(WindowHandle parent) override
    {
        RECT area{};
        if (!RegisterViewerClass() || !IsWindow(static_cast<HWND>(parent)) ||
            !GetClientRect(static_cast<HWND>(parent), &area))
            return false;
        m_created = CreateWindowExA(0, kClassName, "", kStyle, area.left, area.top, area.right - area.left,
                                    area.bottom - area.top, static_cast<HWND>(parent),
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(kChildId)), PluginModule(),
                                    this) != nullptr;
        return m_created;
    }

    // The view is going: no message may reach it any more.
    void Destroy() override
    {
        if (!m_window)
            return;
        SetWindowLongPtrA(m_window, GWLP_USERDATA, 0);
        DestroyWindow(std::exchange(m_window, nullptr));
    }

    WindowHandle Handle() const override { return m_window; }
    void Show() override { ShowWindow(m_window, SW_SHOW); }

    ScrollSize ClientSize() const override
    {
        RECT client{};
        GetClientRect(m_window, &client);
        return {client.right, client.bottom};
    }
    ScrollSize ClientSizeWithoutBars() const override
    {
        const ScrollSize client = ClientSize();
        const LONG_PTR style = GetWindowLongPtrA(m_window, GWL_STYLE);
        const ScrollSize bars = ScrollBarThickness();
        return {client.cx + (style & WS_VSCROLL ? bars.cx : 0), client.cy + (style & WS_HSCROLL ? bars.cy : 0)};
    }
    ScrollSize ScrollBarThickness() const override
    {
        return {GetSystemMetrics(SM_CXVSCROLL), GetSystemMetrics(SM_CYHSCROLL)};
    }

    std::unique_ptr<CDrawingSurface> ClientSurface() override
    {
        return std::make_unique<CGdiSurface>(GetDC(m_window), CGdiSurface::Release::ReleaseDC, m_window);
    }
    void Invalidate() override { InvalidateRect(m_window, nullptr, FALSE); }

    // Showing or hiding a bar resizes the client area, which comes back here
    // through WM_SIZE; the bars are then already as they should be.
    void ShowScrollBars(const CScrollModel& scroll) override
    {
        if (m_updatingBars)
            return;
        m_updatingBars = true;
        SetBar(SB_HORZ, scroll.HasBar(ScrollAxis::Horizontal), scroll.Total().cx, scroll.Client().cx,
               scroll.Position().cx);
        SetBar(SB_VERT, scroll.HasBar(ScrollAxis::Vertical), scroll.Total().cy, scroll.Client().cy,
               scroll.Position().cy);
        m_updatingBars = false;
    }

    // The message carries 16 bits; the bar knows the whole position.
    int ThumbPosition(ScrollAxis axis, int) const override
    {
        SCROLLINFO info{};
        info.cbSize = sizeof info;
        info.fMask = SIF_TRACKPOS;
        GetScrollInfo(m_window, axis == ScrollAxis::Horizontal ? SB_HORZ : SB_VERT, &info);
        return info.nTrackPos;
    }
    unsigned WheelScrollLines() const override
    {
        UINT lines = 3;
        SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
        return lines;
    }
    void SetArrowCursor() override { SetCursor(LoadCursorA(nullptr, IDC_ARROW)); }
    void CaptureMouse(bool capture) override
    {
        if (capture)
            SetCapture(m_window);
        else if (GetCapture() == m_window)
            ReleaseCapture();
    }

    LResult SendToSelf(std::uint32_t message, WParam wParam, LParam lParam) override
    {
        return SendMessageA(m_window, message, wParam, lParam);
    }
    LResult SendToParent(std::uint32_t message, WParam wParam, LParam lParam) override
    {
        return SendMessageA(GetParent(m_window), message, wParam, lParam);
    }
    LResult DefaultProcessing(std::uint32_t message, WParam wParam, LParam lParam) override
    {
        return DefWindowProcA(m_window, message, wParam, lParam);
    }

    // The view may end while it handles a message: a host may close the viewer,
    // or destroy itself, when a character handed on to it arrives. So after
    // the view has had the message, only the window handle is used.
    static LRESULT Dispatch(Win32Glue& glue, HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_PAINT) {
            glue.Paint();
            return 0;
        }
        LResult result = 0;
        if (glue.m_view.OnMessage(message, wParam, lParam, result))
            return result;
        // A click into the picture gives it the keyboard, as a view takes it.
        if (message == WM_MOUSEACTIVATE)
            SetFocus(window);
        return IsWindow(window) ? DefWindowProcA(window, message, wParam, lParam) : 0;
    }

    // After the window's last message. A window destroyed under the view ends
    // the view, which owns this object: nothing of it may be used afterwards.
    // When the creation itself failed, the creator still owns the view.
    void WindowDestroyed()
    {
        m_window = nullptr;
        if (std::exchange(m_created, false))
            m_view.OnFinalMessage();
    }

private:
    void Paint()
    {
        PAINTSTRUCT paint{};
        const HDC dc = BeginPaint(m_window, &paint);
        const ScrollSize position = m_view.ScrollPosition();
        SetViewportOrgEx(dc, -position.cx, -position.cy, nullptr);
        {
            CGdiSurface surface(dc, CGdiSurface::Release::None);
            m_view.OnPaint(surface);
        }
        EndPaint(m_window, &paint);
    }

    void SetBar(int bar, bool shown, int total, int client, int position)
    {
        SCROLLINFO info{};
        info.cbSize = sizeof info;
        info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
        info.nMax = shown ? total - 1 : 0;
        info.nPage = shown ? static_cast<UINT>(client) : 0;
        info.nPos = position;
        SetScrollInfo(m_window, bar, &info, TRUE);
        ShowScrollBar(m_window, bar, shown);
    }

    CScrollView& m_view;
    HWND m_window = nullptr;
    bool m_created = false;
    bool m_updatingBars = false;
};

// No exception may pass through the window system.
LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* created = static_cast<Win32Glue*>(reinterpret_cast<const CREATESTRUCTA*>(lParam)->lpCreateParams);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
        created->Attach(window);
    }
    Win32Glue* glue = Win32Glue::Of(window);
    if (!glue)
        return DefWindowProcA(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        glue->WindowDestroyed();
        return DefWindowProcA(window, message, wParam, lParam);
    }
    try {
        return Win32Glue::Dispatch(*glue, window, message, wParam, lParam);
    } catch (...) {
        return IsWindow(window) ? DefWindowProcA(window, message, wParam, lParam) : 0;
    }
}

} // namespace

// Every Windows process has the window system.
bool WindowSystemAvailable()
{
    return true;
}

std::unique_ptr<CWindowGlue> MakeWindowGlue(CScrollView& view)
{
    return std::make_unique<Win32Glue>(view);
}

CScrollView* FindView(WindowHandle window)
{
    const HWND handle = static_cast<HWND>(window);
    if (!handle || !IsWindow(handle) ||
        GetClassLongPtrA(handle, GCLP_WNDPROC) != reinterpret_cast<ULONG_PTR>(WindowProcedure))
        return nullptr;
    Win32Glue* glue = Win32Glue::Of(handle);
    return glue ? &glue->View() : nullptr;
}

LResult SendWindowMessage(WindowHandle window, std::uint32_t message, WParam wParam, LParam lParam)
{
    return SendMessageA(static_cast<HWND>(window), message, wParam, lParam);
}
