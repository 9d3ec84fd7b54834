#include "platform/headless/HeadlessWindows.h"

#include "viewer/ScrollView.h"

#include <algorithm>
#include <map>
#include <memory>
#include <utility>

namespace headless {
namespace {

class Glue;

struct WindowRecord {
    WindowState state;
    std::vector<Message> messages;
    std::vector<WindowHandle> children;
    Glue* glue = nullptr;
    std::function<void(const Message&)> handler;
};

struct System {
    std::map<WindowHandle, std::unique_ptr<WindowRecord>> windows;
    bool refuseBitmaps = false;
};

System& TheSystem()
{
    static System system;
    return system;
}

WindowRecord* RecordOf(WindowHandle window)
{
    const auto found = TheSystem().windows.find(window);
    return found == TheSystem().windows.end() ? nullptr : found->second.get();
}

WindowRecord* AddWindow(WindowHandle parent, ScrollSize client)
{
    auto record = std::make_unique<WindowRecord>();
    record->state.parent = parent;
    record->state.clientWithoutBars = client;
    WindowRecord* added = record.get();
    TheSystem().windows.emplace(added, std::move(record));
    if (WindowRecord* parentRecord = RecordOf(parent))
        parentRecord->children.push_back(added);
    return added;
}

LResult Dispatch(WindowRecord& record, std::uint32_t message, WParam wParam, LParam lParam);
void RemoveWindow(WindowRecord* record, bool notifyView);

// The raster, with its bitmaps refused while the system says so; the memory
// surfaces made from it refuse them too.
class CRefusingSurface final : public CRasterSurface {
public:
    std::unique_ptr<CDrawingSurface> CreateCompatibleDC() override { return std::make_unique<CRefusingSurface>(); }
    DrawObject CreateCompatibleBitmap(int width, int height) override
    {
        return TheSystem().refuseBitmaps ? 0 : CRasterSurface::CreateCompatibleBitmap(width, height);
    }
};

class Glue final : public CWindowGlue {
public:
    explicit Glue(CScrollView& view) : m_view(view) {}
    ~Glue() override { Destroy(); }

    CScrollView* View() { return &m_view; }
    // The window went away under the view.
    void Forget() { m_record = nullptr; }

    bool Create(WindowHandle parent) override
    {
        WindowRecord* parentRecord = RecordOf(parent);
        if (!parentRecord)
            return false;
        m_record = AddWindow(parent, parentRecord->state.clientWithoutBars);
        m_record->glue = this;
        Dispatch(*m_record, kWmSize, 0, 0);
        return true;
    }
    void Destroy() override
    {
        if (m_record)
            RemoveWindow(std::exchange(m_record, nullptr), false);
    }
    WindowHandle Handle() const override { return m_record; }
    void Show() override
    {
        m_record->state.visible = true;
        Dispatch(*m_record, kWmShowWindow, 1, 0);
    }

    ScrollSize ClientSize() const override
    {
        const WindowState& state = m_record->state;
        return {state.clientWithoutBars.cx - (state.verticalBar ? kScrollBarThickness : 0),
                state.clientWithoutBars.cy - (state.horizontalBar ? kScrollBarThickness : 0)};
    }
    ScrollSize ClientSizeWithoutBars() const override { return m_record->state.clientWithoutBars; }
    ScrollSize ScrollBarThickness() const override { return {kScrollBarThickness, kScrollBarThickness}; }

    std::unique_ptr<CDrawingSurface> ClientSurface() override { return std::make_unique<CRefusingSurface>(); }
    void Invalidate() override { ++m_record->state.invalidations; }
    void ShowScrollBars(const CScrollModel& scroll) override
    {
        m_record->state.horizontalBar = scroll.HasBar(ScrollAxis::Horizontal);
        m_record->state.verticalBar = scroll.HasBar(ScrollAxis::Vertical);
    }
    int ThumbPosition(ScrollAxis, int messagePosition) const override { return messagePosition; }
    unsigned WheelScrollLines() const override { return 3; }
    void SetArrowCursor() override { m_record->state.arrowCursor = true; }
    void CaptureMouse(bool capture) override { m_record->state.captured = capture; }

    LResult SendToSelf(std::uint32_t message, WParam wParam, LParam lParam) override
    {
        return Dispatch(*m_record, message, wParam, lParam);
    }
    LResult SendToParent(std::uint32_t message, WParam wParam, LParam lParam) override
    {
        return SendWindowMessage(m_record->state.parent, message, wParam, lParam);
    }
    LResult DefaultProcessing(std::uint32_t, WParam, LParam) override { return 0; }

private:
    CScrollView& m_view;
    WindowRecord* m_record = nullptr;
};

// A window with a view hands the message to it; the default processing of
// every message answers 0. A window without a view keeps what it receives.
LResult Dispatch(WindowRecord& record, std::uint32_t message, WParam wParam, LParam lParam)
{
    if (!record.glue) {
        const Message received = {message, wParam, lParam};
        record.messages.push_back(received);
        // The handler may destroy this very window, and itself with it.
        if (const auto handler = record.handler)
            handler(received);
        return 0;
    }
    LResult result = 0;
    return record.glue->View()->OnMessage(message, wParam, lParam, result) ? result : 0;
}

// Children go first, as a window system destroys them; a view whose window is
// destroyed by someone else gets its final call last of all.
void RemoveWindow(WindowRecord* record, bool notifyView)
{
    for (WindowHandle child : std::vector<WindowHandle>(record->children))
        RemoveWindow(RecordOf(child), true);
    if (WindowRecord* parent = RecordOf(record->state.parent))
        std::erase(parent->children, record);
    Glue* glue = record->glue;
    TheSystem().windows.erase(record);
    if (glue && notifyView) {
        glue->Forget();
        glue->View()->OnFinalMessage();
    }
}

} // namespace

WindowHandle CreateParentWindow(int width, int height)
{
    return AddWindow(nullptr, {width, height});
}

void SetMessageHandler(WindowHandle window, std::function<void(const Message&)> handler)
{
    RecordOf(window)->handler = std::move(handler);
}

void DestroyWindow(WindowHandle window)
{
    if (WindowRecord* record = RecordOf(window)) {
        if (record->glue)
            record->glue->Forget();
        RemoveWindow(record, true);
    }
}

bool IsWindow(WindowHandle window)
{
    return RecordOf(window) != nullptr;
}

std::size_t WindowCount()
{
    return TheSystem().windows.size();
}

void ResizeWindow(WindowHandle window, int width, int height)
{
    WindowRecord* record = RecordOf(window);
    record->state.clientWithoutBars = {width, height};
    for (WindowHandle child : record->children) {
        RecordOf(child)->state.clientWithoutBars = {width, height};
        Dispatch(*RecordOf(child), kWmSize, 0, 0);
    }
}

// Unpainted pixels keep a colour the viewer never draws, so a test sees them.
void RefuseBitmaps(bool refuse)
{
    TheSystem().refuseBitmaps = refuse;
}

RasterBitmap PaintWindow(WindowHandle window)
{
    constexpr Colour kUnpainted = MakeColour(255, 0, 255);
    WindowRecord* record = RecordOf(window);
    CScrollView& view = *record->glue->View();
    const ScrollSize client = record->glue->ClientSize();
    CRasterSurface dc;
    dc.SelectObject(dc.CreateCompatibleBitmap(std::max(client.cx, 1), std::max(client.cy, 1)));
    const DrawObject marker = dc.CreateSolidBrush(kUnpainted);
    const DrawObject brush = dc.SelectObject(marker);
    dc.PatBlt(0, 0, client.cx, client.cy);
    dc.SelectObject(brush);
    dc.DeleteObject(marker);
    dc.SetViewportOrigin(-view.ScrollPosition().cx, -view.ScrollPosition().cy);
    view.OnPaint(dc);
    return dc.SelectedBitmap();
}

const WindowState& StateOf(WindowHandle window)
{
    return RecordOf(window)->state;
}

const std::vector<Message>& MessagesOf(WindowHandle window)
{
    return RecordOf(window)->messages;
}

} // namespace headless

bool WindowSystemAvailable()
{
    return true;
}

std::unique_ptr<CWindowGlue> MakeWindowGlue(CScrollView& view)
{
    return std::make_unique<headless::Glue>(view);
}

CScrollView* FindView(WindowHandle window)
{
    headless::WindowRecord* record = headless::RecordOf(window);
    return record && record->glue ? record->glue->View() : nullptr;
}

LResult SendWindowMessage(WindowHandle window, std::uint32_t message, WParam wParam, LParam lParam)
{
    headless::WindowRecord* record = headless::RecordOf(window);
    return record ? headless::Dispatch(*record, message, wParam, lParam) : 0;
}
