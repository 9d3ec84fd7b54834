// The window seam on GTK 2 widgets, for lister hosts built on GTK 2 (Double
// Commander's GTK build): the host's parent window is a GtkContainer, and the
// window handle the host gets back is the widget added to it. The host owns
// GTK's initialisation and its main loop; everything here runs inside them.
#include "platform/posix/RasterSurface.h"
#include "viewer/ScrollView.h"

#include <gdk/gdkkeysyms.h>
#include <gtk/gtk.h>

#include <algorithm>
#include <bit>
#include <unordered_map>
#include <utility>

namespace {

// A key reaches the viewer with a repeat count of 1 and no flags: GTK sends
// each repeated key on its own.
constexpr LParam kOneKeystroke = 1;
// GTK 2 has no setting for the wheel: Windows' default, which Qt keeps too.
constexpr unsigned kWheelScrollLines = 3;

struct KeyTranslation {
    guint keyval;
    std::uint32_t virtualKey;
};

constexpr KeyTranslation kNavigationKeys[] = {
    {GDK_Page_Up, kVkPrior},   {GDK_KP_Page_Up, kVkPrior}, {GDK_Page_Down, kVkNext}, {GDK_KP_Page_Down, kVkNext},
    {GDK_End, kVkEnd},         {GDK_KP_End, kVkEnd},       {GDK_Home, kVkHome},      {GDK_KP_Home, kVkHome},
    {GDK_Left, kVkLeft},       {GDK_KP_Left, kVkLeft},     {GDK_Up, kVkUp},          {GDK_KP_Up, kVkUp},
    {GDK_Right, kVkRight},     {GDK_KP_Right, kVkRight},   {GDK_Down, kVkDown},      {GDK_KP_Down, kVkDown},
};

// The virtual-key code of a navigation key, or 0 for any other key.
std::uint32_t VirtualKeyOf(guint keyval)
{
    const auto found = std::ranges::find(kNavigationKeys, keyval, &KeyTranslation::keyval);
    return found == std::end(kNavigationKeys) ? 0 : found->virtualKey;
}

struct ActionTranslation {
    GtkScrollType action;
    int scrollCode;
};

// What a scroll bar asks for, by its arrows, its trough and its slider.
constexpr ActionTranslation kScrollBarActions[] = {
    {GTK_SCROLL_STEP_BACKWARD, kSbLineUp},   {GTK_SCROLL_STEP_UP, kSbLineUp},     {GTK_SCROLL_STEP_LEFT, kSbLineUp},
    {GTK_SCROLL_STEP_FORWARD, kSbLineDown},  {GTK_SCROLL_STEP_DOWN, kSbLineDown}, {GTK_SCROLL_STEP_RIGHT, kSbLineDown},
    {GTK_SCROLL_PAGE_BACKWARD, kSbPageUp},   {GTK_SCROLL_PAGE_UP, kSbPageUp},     {GTK_SCROLL_PAGE_LEFT, kSbPageUp},
    {GTK_SCROLL_PAGE_FORWARD, kSbPageDown},  {GTK_SCROLL_PAGE_DOWN, kSbPageDown}, {GTK_SCROLL_PAGE_RIGHT, kSbPageDown},
    {GTK_SCROLL_START, kSbTop},              {GTK_SCROLL_END, kSbBottom},         {GTK_SCROLL_JUMP, kSbThumbTrack},
};

struct WheelTranslation {
    GdkScrollDirection direction;
    std::uint32_t message;
    int delta;
};

// GTK 2 gives whole notches. Up is away from the user; a sideways turn
// counts positive to the right.
constexpr WheelTranslation kWheelTurns[] = {
    {GDK_SCROLL_UP, kWmMouseWheel, kWheelDelta},
    {GDK_SCROLL_DOWN, kWmMouseWheel, -kWheelDelta},
    {GDK_SCROLL_LEFT, kWmMouseHWheel, -kWheelDelta},
    {GDK_SCROLL_RIGHT, kWmMouseHWheel, kWheelDelta},
};

int Along(ScrollSize size, ScrollAxis axis)
{
    return axis == ScrollAxis::Horizontal ? size.cx : size.cy;
}

// Two 16-bit values in one lParam, as a mouse position.
LParam PackedParam(double low, double high)
{
    return static_cast<LParam>(MakeWParam(static_cast<unsigned>(static_cast<int>(low)),
                                          static_cast<unsigned>(static_cast<int>(high))));
}

ScrollSize SizeOf(GtkWidget* widget)
{
    GtkAllocation allocation;
    gtk_widget_get_allocation(widget, &allocation);
    return {allocation.width, allocation.height};
}

// Whether `wanted` is `widget` or lies inside it, internal children
// included. Only addresses are compared: `wanted` is never read.
bool HoldsWidget(GtkWidget* widget, gconstpointer wanted)
{
    if (widget == wanted)
        return true;
    if (!GTK_IS_CONTAINER(widget))
        return false;
    struct Search {
        gconstpointer wanted;
        bool found;
    } search{wanted, false};
    gtk_container_forall(
        GTK_CONTAINER(widget),
        [](GtkWidget* child, gpointer data) {
            auto* inner = static_cast<Search*>(data);
            inner->found = inner->found || HoldsWidget(child, inner->wanted);
        },
        &search);
    return search.found;
}

// Whether a handle the host passes as the parent is a container of this
// process's GTK, found among the widgets of its top-level windows.
bool IsHostContainer(gconstpointer parent)
{
    GList* const toplevels = gtk_window_list_toplevels();
    bool found = false;
    for (GList* item = toplevels; item && !found; item = item->next)
        found = HoldsWidget(GTK_WIDGET(item->data), parent);
    g_list_free(toplevels);
    return found && GTK_IS_CONTAINER(parent);
}

class CGtkGlue;

// The windows of the views, so that a handle the host passes is looked up
// before anything is read through it.
std::unordered_map<WindowHandle, CGtkGlue*>& Windows()
{
    static std::unordered_map<WindowHandle, CGtkGlue*> windows;
    return windows;
}

CGtkGlue* GlueOf(WindowHandle window)
{
    const auto found = Windows().find(window);
    return found == Windows().end() ? nullptr : found->second;
}

// The viewer window: an event box that takes the keyboard, holding a drawing
// area for the client area and the two scroll bars beside and below it. Its
// bars, keys, wheel, mouse and paints all go to the portable view as window
// messages.
class CGtkGlue final : public CWindowGlue {
public:
    explicit CGtkGlue(CScrollView& view) : m_view(view) {}
    ~CGtkGlue() override { Destroy(); }
    CGtkGlue(const CGtkGlue&) = delete;
    CGtkGlue& operator=(const CGtkGlue&) = delete;

    CScrollView& View() { return m_view; }
    // A message as the window receives it: the view first, then default processing.
    LResult Dispatch(std::uint32_t message, WParam wParam, LParam lParam);

    bool Create(WindowHandle parent) override;
    void Destroy() override;
    WindowHandle Handle() const override { return m_frame; }
    void Show() override { gtk_widget_show(m_frame); }

    ScrollSize ClientSize() const override;
    ScrollSize ClientSizeWithoutBars() const override { return SizeOf(m_frame); }
    ScrollSize ScrollBarThickness() const override;

    std::unique_ptr<CDrawingSurface> ClientSurface() override { return std::make_unique<CRasterSurface>(); }
    void Invalidate() override { gtk_widget_queue_draw(m_canvas); }
    void ShowScrollBars(const CScrollModel& scroll) override;
    int ThumbPosition(ScrollAxis axis, int) const override { return Along(m_thumb, axis); }
    unsigned WheelScrollLines() const override { return kWheelScrollLines; }
    void SetArrowCursor() override;
    // GTK gives the pointer to the window that took a button press until its release.
    void CaptureMouse(bool) override {}

    LResult SendToSelf(std::uint32_t message, WParam wParam, LParam lParam) override;
    // The host's window is no Windows window. A character for it goes on as
    // the key press that typed it, which the view leaves unanswered and GTK
    // then hands up to the host's widgets.
    LResult SendToParent(std::uint32_t, WParam, LParam) override { return 0; }
    LResult DefaultProcessing(std::uint32_t, WParam, LParam) override { return 0; }

private:
    void Connect();
    void ConnectFrame();
    void ConnectCanvas();
    void ConnectScrollBars();
    void Disconnect();
    // The host destroyed the window (with its own): the view ends with it.
    void WindowGone();
    GtkWidget* Bar(ScrollAxis axis) const { return axis == ScrollAxis::Horizontal ? m_horizontal : m_vertical; }
    void ShowScrollBar(const CScrollModel& scroll, ScrollAxis axis);

    void Allocated();
    void Paint();
    bool KeyPressed(const GdkEventKey& event);
    bool Wheel(const GdkEventScroll& event);
    bool Button(const GdkEventButton& event);
    bool ScrollBarAction(GtkRange* bar, GtkScrollType action, double value);

    CScrollView& m_view;
    GtkWidget* m_frame = nullptr;
    GtkWidget* m_canvas = nullptr;
    GtkWidget* m_horizontal = nullptr;
    GtkWidget* m_vertical = nullptr;
    // The size the view was last told of: GTK allocates again on any layout.
    ScrollSize m_size = {-1, -1};
    // Where a dragged slider asks to go, at full width.
    ScrollSize m_thumb;
    // Whether the view did anything with the key being handled.
    bool m_keyAnswered = false;
};

bool CGtkGlue::Create(WindowHandle parent)
{
    if (!parent || !IsHostContainer(parent))
        return false;
    m_frame = gtk_event_box_new();
    gtk_widget_set_can_focus(m_frame, TRUE);
    m_canvas = gtk_drawing_area_new();
    gtk_widget_add_events(m_canvas, GDK_EXPOSURE_MASK | GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK |
                                        GDK_POINTER_MOTION_MASK | GDK_SCROLL_MASK | GDK_ENTER_NOTIFY_MASK);
    m_horizontal = gtk_hscrollbar_new(nullptr);
    m_vertical = gtk_vscrollbar_new(nullptr);
    GtkWidget* const table = gtk_table_new(2, 2, FALSE);
    const auto grow = static_cast<GtkAttachOptions>(GTK_EXPAND | GTK_FILL);
    gtk_table_attach(GTK_TABLE(table), m_canvas, 0, 1, 0, 1, grow, grow, 0, 0);
    gtk_table_attach(GTK_TABLE(table), m_horizontal, 0, 1, 1, 2, grow, GTK_FILL, 0, 0);
    gtk_table_attach(GTK_TABLE(table), m_vertical, 1, 2, 0, 1, GTK_FILL, grow, 0, 0);
    gtk_container_add(GTK_CONTAINER(m_frame), table);
    gtk_widget_show(m_canvas);
    gtk_widget_show(table);
    Connect();
    gtk_container_add(GTK_CONTAINER(parent), m_frame);
    Windows().emplace(Handle(), this);
    Allocated();
    return true;
}

void CGtkGlue::Connect()
{
    ConnectFrame();
    ConnectCanvas();
    ConnectScrollBars();
}

// The window itself: showing, hiding, its size, its end and the keyboard.
void CGtkGlue::ConnectFrame()
{
    g_signal_connect_after(m_frame, "show", G_CALLBACK(+[](GtkWidget*, CGtkGlue* glue) {
                               glue->Dispatch(kWmShowWindow, 1, 0);
                           }),
                           this);
    g_signal_connect_after(m_frame, "hide", G_CALLBACK(+[](GtkWidget*, CGtkGlue* glue) {
                               glue->Dispatch(kWmShowWindow, 0, 0);
                           }),
                           this);
    g_signal_connect_after(m_frame, "size-allocate", G_CALLBACK(+[](GtkWidget*, GtkAllocation*, CGtkGlue* glue) {
                               glue->Allocated();
                           }),
                           this);
    g_signal_connect(m_frame, "destroy", G_CALLBACK(+[](GtkWidget*, CGtkGlue* glue) { glue->WindowGone(); }), this);
    g_signal_connect(m_frame, "key-press-event",
                     G_CALLBACK(+[](GtkWidget*, GdkEventKey* event, CGtkGlue* glue) -> gboolean {
                         return glue->KeyPressed(*event);
                     }),
                     this);
}

// The client area: paints, the mouse and the cursor.
void CGtkGlue::ConnectCanvas()
{
    g_signal_connect(m_canvas, "expose-event", G_CALLBACK(+[](GtkWidget*, GdkEventExpose*, CGtkGlue* glue) -> gboolean {
                         glue->Paint();
                         return TRUE;
                     }),
                     this);
    for (const char* signal : {"button-press-event", "button-release-event"}) {
        g_signal_connect(m_canvas, signal,
                         G_CALLBACK(+[](GtkWidget*, GdkEventButton* event, CGtkGlue* glue) -> gboolean {
                             return glue->Button(*event);
                         }),
                         this);
    }
    g_signal_connect(m_canvas, "motion-notify-event",
                     G_CALLBACK(+[](GtkWidget*, GdkEventMotion* event, CGtkGlue* glue) -> gboolean {
                         glue->Dispatch(kWmMouseMove, 0, PackedParam(event->x, event->y));
                         return FALSE;
                     }),
                     this);
    g_signal_connect(m_canvas, "grab-broken-event", G_CALLBACK(+[](GtkWidget*, GdkEvent*, CGtkGlue* glue) -> gboolean {
                         glue->Dispatch(kWmCaptureChanged, 0, 0);
                         return FALSE;
                     }),
                     this);
    // The window system asks for the cursor whenever the pointer comes over.
    g_signal_connect(m_canvas, "enter-notify-event",
                     G_CALLBACK(+[](GtkWidget*, GdkEventCrossing*, CGtkGlue* glue) -> gboolean {
                         glue->Dispatch(kWmSetCursor, 0, 0);
                         return FALSE;
                     }),
                     this);
}

// The wheel scrolls the view alike over the picture and over its bars; a bar
// asks the view before it moves.
void CGtkGlue::ConnectScrollBars()
{
    for (GtkWidget* widget : {m_canvas, m_horizontal, m_vertical}) {
        g_signal_connect(widget, "scroll-event",
                         G_CALLBACK(+[](GtkWidget*, GdkEventScroll* event, CGtkGlue* glue) -> gboolean {
                             return glue->Wheel(*event);
                         }),
                         this);
    }
    for (GtkWidget* bar : {m_horizontal, m_vertical}) {
        g_signal_connect(bar, "change-value",
                         G_CALLBACK(+[](GtkRange* range, GtkScrollType action, gdouble value, CGtkGlue* glue)
                                        -> gboolean { return glue->ScrollBarAction(range, action, value); }),
                         this);
    }
}

void CGtkGlue::Disconnect()
{
    for (GtkWidget* widget : {m_frame, m_canvas, m_horizontal, m_vertical})
        g_signal_handlers_disconnect_matched(widget, G_SIGNAL_MATCH_DATA, 0, 0, nullptr, nullptr, this);
}

void CGtkGlue::Destroy()
{
    if (!m_frame)
        return;
    Windows().erase(Handle());
    Disconnect();
    gtk_widget_destroy(std::exchange(m_frame, nullptr));
}

void CGtkGlue::WindowGone()
{
    Windows().erase(Handle());
    Disconnect();
    m_frame = nullptr;
    m_view.OnFinalMessage();
}

LResult CGtkGlue::Dispatch(std::uint32_t message, WParam wParam, LParam lParam)
{
    LResult result = 0;
    return m_view.OnMessage(message, wParam, lParam, result) ? result : DefaultProcessing(message, wParam, lParam);
}

// The host sizes the window on every resize of its own, and the first size it
// gets is 1 x 1: the view learns the size from each new allocation.
void CGtkGlue::Allocated()
{
    const ScrollSize size = SizeOf(m_frame);
    if (std::exchange(m_size, size) != size)
        Dispatch(kWmSize, 0, PackedParam(size.cx, size.cy));
}

ScrollSize CGtkGlue::ClientSize() const
{
    const ScrollSize whole = ClientSizeWithoutBars();
    const ScrollSize bar = ScrollBarThickness();
    const bool vertical = gtk_widget_get_visible(m_vertical);
    const bool horizontal = gtk_widget_get_visible(m_horizontal);
    return {whole.cx - (vertical ? bar.cx : 0), whole.cy - (horizontal ? bar.cy : 0)};
}

ScrollSize CGtkGlue::ScrollBarThickness() const
{
    GtkRequisition vertical;
    GtkRequisition horizontal;
    gtk_widget_size_request(m_vertical, &vertical);
    gtk_widget_size_request(m_horizontal, &horizontal);
    return {vertical.width, horizontal.height};
}

void CGtkGlue::SetArrowCursor()
{
    GdkWindow* const window = gtk_widget_get_window(m_canvas);
    if (!window)
        return;
    GdkCursor* const arrow = gdk_cursor_new_for_display(gtk_widget_get_display(m_canvas), GDK_LEFT_PTR);
    gdk_window_set_cursor(window, arrow);
    gdk_cursor_unref(arrow);
}

// The model owns the position; a bar only shows it, with a slider as long as
// the visible part.
void CGtkGlue::ShowScrollBars(const CScrollModel& scroll)
{
    ShowScrollBar(scroll, ScrollAxis::Horizontal);
    ShowScrollBar(scroll, ScrollAxis::Vertical);
}

void CGtkGlue::ShowScrollBar(const CScrollModel& scroll, ScrollAxis axis)
{
    GtkWidget* const bar = Bar(axis);
    const int visible = std::max(1, Along(scroll.Client(), axis));
    gtk_adjustment_configure(gtk_range_get_adjustment(GTK_RANGE(bar)), Along(scroll.Position(), axis), 0,
                             Along(scroll.MaxPosition(), axis) + visible, std::max(1, Along(scroll.Line(), axis)),
                             visible, visible);
    if (scroll.HasBar(axis))
        gtk_widget_show(bar);
    else
        gtk_widget_hide(bar);
}

// A bar asks before it moves; the view moves it to the position it chooses.
bool CGtkGlue::ScrollBarAction(GtkRange* bar, GtkScrollType action, double value)
{
    const auto found = std::ranges::find(kScrollBarActions, action, &ActionTranslation::action);
    if (found == std::end(kScrollBarActions))
        return false;
    const ScrollAxis axis = GTK_WIDGET(bar) == m_horizontal ? ScrollAxis::Horizontal : ScrollAxis::Vertical;
    const double last = Along(m_view.Scroll().MaxPosition(), axis);
    const int thumb = static_cast<int>(std::clamp(value, 0.0, last));
    (axis == ScrollAxis::Horizontal ? m_thumb.cx : m_thumb.cy) = thumb;
    Dispatch(axis == ScrollAxis::Horizontal ? kWmHScroll : kWmVScroll,
             MakeWParam(static_cast<unsigned>(found->scrollCode), static_cast<unsigned>(thumb)), 0);
    return true;
}

// The client area drawn by the view onto the software raster, then shown as
// it is: GdkRGB takes pixels as the bytes R, G, B and one unused, which is how
// the raster keeps them.
void CGtkGlue::Paint()
{
    static_assert(std::endian::native == std::endian::little, "a Colour is read as the bytes R, G, B, 0");
    const ScrollSize size = SizeOf(m_canvas);
    CRasterSurface dc;
    const DrawObject bitmap = dc.CreateCompatibleBitmap(std::max(1, size.cx), std::max(1, size.cy));
    if (!bitmap)
        return;
    dc.SelectObject(bitmap);
    const ScrollSize scroll = m_view.ScrollPosition();
    dc.SetViewportOrigin(-scroll.cx, -scroll.cy);
    m_view.OnPaint(dc);
    const RasterBitmap& pixels = dc.SelectedBitmap();
    gdk_draw_rgb_32_image(gtk_widget_get_window(m_canvas), gtk_widget_get_style(m_canvas)->black_gc, 0, 0,
                          pixels.width, pixels.height, GDK_RGB_DITHER_NONE,
                          reinterpret_cast<const guchar*>(pixels.pixels.data()), pixels.width * 4);
}

// A key is the viewer's when it scrolls; every other key goes on to the host.
bool CGtkGlue::KeyPressed(const GdkEventKey& event)
{
    m_keyAnswered = false;
    if (const std::uint32_t key = VirtualKeyOf(event.keyval))
        Dispatch(kWmKeyDown, key, kOneKeystroke);
    if (const gunichar character = gdk_keyval_to_unicode(event.keyval))
        Dispatch(kWmChar, character, kOneKeystroke);
    return m_keyAnswered;
}

LResult CGtkGlue::SendToSelf(std::uint32_t message, WParam wParam, LParam lParam)
{
    m_keyAnswered = true;
    return Dispatch(message, wParam, lParam);
}

// With Ctrl the wheel is left to the host.
bool CGtkGlue::Wheel(const GdkEventScroll& event)
{
    const auto turn = std::ranges::find(kWheelTurns, event.direction, &WheelTranslation::direction);
    if (turn == std::end(kWheelTurns) || event.state & GDK_CONTROL_MASK)
        return false;
    const unsigned keys = event.state & GDK_SHIFT_MASK ? kMkShift : 0;
    Dispatch(turn->message, MakeWParam(keys, static_cast<unsigned>(turn->delta)), 0);
    return true;
}

// The middle button pans; a click of any other gives the viewer the keyboard.
bool CGtkGlue::Button(const GdkEventButton& event)
{
    constexpr guint kMiddleButton = 2;
    if (event.button != kMiddleButton) {
        if (event.type == GDK_BUTTON_PRESS)
            gtk_widget_grab_focus(m_frame);
        return false;
    }
    if (event.type == GDK_BUTTON_PRESS)
        Dispatch(kWmMButtonDown, 0, PackedParam(event.x, event.y));
    else if (event.type == GDK_BUTTON_RELEASE)
        Dispatch(kWmMButtonUp, 0, PackedParam(event.x, event.y));
    return true;
}

} // namespace

// GTK 2 is the toolkit that this library's GTK calls reach, and the host has
// initialised it: its default display is open. This library links GTK 2, but
// its calls reach the process's own GTK first, since the dynamic linker looks
// every name up in the process's global scope before this library's own
// dependencies: in a host on GTK 3, gtk_check_version is GTK 3's, which
// answers that it is too new. The variable gtk_major_version would not tell:
// GTK 3 has none, so this library's reference would always find GTK 2's.
bool WindowSystemAvailable()
{
    return gtk_check_version(GTK_MAJOR_VERSION, 0, 0) == nullptr && gdk_display_get_default() != nullptr;
}

std::unique_ptr<CWindowGlue> MakeWindowGlue(CScrollView& view)
{
    return std::make_unique<CGtkGlue>(view);
}

CScrollView* FindView(WindowHandle window)
{
    CGtkGlue* glue = GlueOf(window);
    return glue ? &glue->View() : nullptr;
}

LResult SendWindowMessage(WindowHandle window, std::uint32_t message, WParam wParam, LParam lParam)
{
    CGtkGlue* glue = GlueOf(window);
    return glue ? glue->Dispatch(message, wParam, lParam) : 0;
}
