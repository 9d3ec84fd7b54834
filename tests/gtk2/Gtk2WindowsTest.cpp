// The viewer on GTK 2 widgets, through the entry points as a GTK lister host
// calls them: the host's windows are made here, on an X server of the test's
// own (GTK 2 draws on X only), which Xvfb starts on a display number it finds
// free itself.
#include "platform/posix/RasterPicture.h"
#include "plugin/ListerPlugin.h"
#include "support/CommandRun.h"
#include "support/ExportedFunctions.h"
#include "support/PuzzleFiles.h"
#include "support/ToolkitPlugins.h"
#include "viewer/Gridlooker.h"

#include <gdk/gdkkeysyms.h>
#include <gtk/gtk.h>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <string>
#include <utility>

#include <dlfcn.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// An X server for this process alone, and GTK initialised on it.
class GtkOnXvfb : public testing::Environment {
public:
    void SetUp() override
    {
        int pipe[2];
        ASSERT_EQ(::pipe(pipe), 0);
        const pid_t test = getpid();
        m_server = fork();
        if (m_server == 0) {
            // The server ends with the test, however the test ends.
            prctl(PR_SET_PDEATHSIG, SIGTERM);
            if (getppid() != test)
                _exit(1);
            ::close(pipe[0]);
            const std::string displayFd = std::to_string(pipe[1]);
            execlp("Xvfb", "Xvfb", "-displayfd", displayFd.c_str(), "-nolisten", "tcp", "-screen", "0", "1024x768x24",
                   static_cast<char*>(nullptr));
            _exit(127);
        }
        ::close(pipe[1]);
        // The display's number and a new line, once the server takes clients.
        std::string display = ":";
        char digit = 0;
        while (read(pipe[0], &digit, 1) == 1 && digit != '\n')
            display += digit;
        ::close(pipe[0]);
        ASSERT_GT(display.size(), 1u) << "Xvfb did not start";
        setenv("DISPLAY", display.c_str(), 1);
        ASSERT_TRUE(gtk_init_check(nullptr, nullptr)) << "no GTK on " << display;
    }
    void TearDown() override
    {
        if (m_server > 0) {
            kill(m_server, SIGTERM);
            waitpid(m_server, nullptr, 0);
        }
    }

private:
    pid_t m_server = -1;
};

testing::Environment* const kGtk = testing::AddGlobalTestEnvironment(new GtkOnXvfb);

void RunPendingEvents()
{
    gdk_flush();
    while (gtk_events_pending())
        gtk_main_iteration();
}

CGridlooker& ViewerOf(GtkWidget* window)
{
    return dynamic_cast<CGridlooker&>(*FindView(window));
}

// The host: a top-level window whose viewer form holds a GtkLayout, the
// container that the viewer goes into, as Double Commander's GTK build has it.
class GtkViewer : public testing::Test {
protected:
    void SetUp() override
    {
        m_host = gtk_window_new(GTK_WINDOW_TOPLEVEL);
        gtk_window_set_default_size(GTK_WINDOW(m_host), 600, 400);
        m_lister = gtk_layout_new(nullptr, nullptr);
        gtk_container_add(GTK_CONTAINER(m_host), m_lister);
        gtk_widget_show_all(m_host);
        RunPendingEvents();
    }
    void TearDown() override
    {
        if (m_host)
            gtk_widget_destroy(m_host);
        RunPendingEvents();
    }

    // The viewer as the host shows it: sized to the whole layout, with the keyboard.
    GtkWidget* Load(std::string path)
    {
        auto* window = static_cast<GtkWidget*>(ListLoad(m_lister, path.data(), 0));
        if (window) {
            gtk_widget_set_size_request(window, 600, 400);
            gtk_widget_grab_focus(window);
            RunPendingEvents();
        }
        return window;
    }

    GtkWidget* m_host = nullptr;
    GtkWidget* m_lister = nullptr;
};

// The viewer window's parts, in the order the glue makes them.
struct Parts {
    GtkWidget* canvas;
    GtkWidget* horizontal;
    GtkWidget* vertical;
};

Parts PartsOf(GtkWidget* window)
{
    Parts parts{};
    GtkWidget* table = gtk_bin_get_child(GTK_BIN(window));
    gtk_container_foreach(
        GTK_CONTAINER(table),
        [](GtkWidget* child, gpointer data) {
            auto* found = static_cast<Parts*>(data);
            (GTK_IS_HSCROLLBAR(child) ? found->horizontal : GTK_IS_VSCROLLBAR(child) ? found->vertical
                                                                                    : found->canvas) = child;
        },
        &parts);
    return parts;
}

ScrollSize AllocatedSize(GtkWidget* widget)
{
    GtkAllocation area;
    gtk_widget_get_allocation(widget, &area);
    return {area.width, area.height};
}

// Sends an event to a widget as the window system delivers it; whether a
// handler took it.
bool Deliver(GtkWidget* widget, GdkEvent* event)
{
    event->any.window = GDK_WINDOW(g_object_ref(gtk_widget_get_window(widget)));
    event->any.send_event = TRUE;
    const bool handled = gtk_widget_event(widget, event);
    gdk_event_free(event);
    RunPendingEvents();
    return handled;
}

bool PressKey(GtkWidget* widget, guint keyval, guint state = 0)
{
    GdkEvent* event = gdk_event_new(GDK_KEY_PRESS);
    event->key.keyval = keyval;
    event->key.state = state;
    return Deliver(widget, event);
}

bool TurnWheel(GtkWidget* widget, GdkScrollDirection direction, guint state = 0)
{
    GdkEvent* event = gdk_event_new(GDK_SCROLL);
    event->scroll.direction = direction;
    event->scroll.state = state;
    return Deliver(widget, event);
}

void Mouse(GtkWidget* widget, GdkEventType type, guint button, double x, double y)
{
    GdkEvent* event = gdk_event_new(type);
    if (type == GDK_MOTION_NOTIFY) {
        event->motion.x = x;
        event->motion.y = y;
    } else {
        event->button.button = button;
        event->button.x = x;
        event->button.y = y;
    }
    Deliver(widget, event);
}

bool ScrollBarAction(GtkWidget* bar, GtkScrollType action, double value = 0)
{
    gboolean handled = FALSE;
    g_signal_emit_by_name(bar, "change-value", action, value, &handled);
    RunPendingEvents();
    return handled;
}

// The client area shows the picture at the centring offset, moved by the
// scroll position, and white around it: read back from the X server.
void ExpectShowsPicture(GtkWidget* window, const RasterBitmap& picture)
{
    GtkWidget* canvas = PartsOf(window).canvas;
    gdk_window_invalidate_rect(gtk_widget_get_window(canvas), nullptr, FALSE);
    gdk_window_process_all_updates();
    RunPendingEvents();
    const CGridlooker& viewer = ViewerOf(window);
    const ScrollSize client = viewer.Scroll().Client();
    ASSERT_EQ(AllocatedSize(canvas), client);
    GdkPixbuf* shown = gdk_pixbuf_get_from_drawable(nullptr, gtk_widget_get_window(canvas), nullptr, 0, 0, 0, 0,
                                                    client.cx, client.cy);
    ASSERT_NE(shown, nullptr);
    const ScrollSize scroll = viewer.ScrollPosition();
    const auto [offsetX, offsetY] = viewer.GetCentreOffset();
    const guchar* pixels = gdk_pixbuf_get_pixels(shown);
    const int stride = gdk_pixbuf_get_rowstride(shown);
    const int channels = gdk_pixbuf_get_n_channels(shown);
    for (int y = 0; y < client.cy; ++y) {
        for (int x = 0; x < client.cx; ++x) {
            const int px = x - offsetX + scroll.cx;
            const int py = y - offsetY + scroll.cy;
            const bool inPicture = px >= 0 && py >= 0 && px < picture.width && py < picture.height;
            const Colour expected = inPicture ? picture.At(px, py) : kWhite;
            const guchar* pixel = pixels + y * stride + x * channels;
            const Colour seen = MakeColour(pixel[0], pixel[1], pixel[2]);
            if (seen != expected) {
                g_object_unref(shown);
                FAIL() << "at " << x << "," << y << ": " << std::hex << seen << " for " << expected;
            }
        }
    }
    g_object_unref(shown);
}

TEST_F(GtkViewer, DeclinesAFileItCannotShowOrAParentThatIsNoWidgetOfItsGtk)
{
    EXPECT_EQ(Load(WriteTestFile(Bytes{1, 2}, ".tgr")), nullptr);
    const std::string puzzle = WriteWindowPuzzle(5, 5);
    // Read as a widget, either would take the test down.
    long notAWidget[64] = {};
    EXPECT_EQ(ListLoad(notAWidget, const_cast<char*>(puzzle.c_str()), 0), nullptr);
    GtkWidget* outsideAnyWindow = g_object_ref_sink(gtk_layout_new(nullptr, nullptr));
    EXPECT_EQ(ListLoad(outsideAnyWindow, const_cast<char*>(puzzle.c_str()), 0), nullptr);
    g_object_unref(outsideAnyWindow);
    EXPECT_EQ(gtk_container_get_children(GTK_CONTAINER(m_lister)), nullptr);
}

TEST_F(GtkViewer, PaintShowsThePictureCentredOrScrolled)
{
    const std::string small = WriteWindowPuzzle(12, 10);
    CTessGrid smallPuzzle(small);
    GtkWidget* window = Load(small);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(gtk_widget_get_parent(window), m_lister);
    EXPECT_TRUE(gtk_widget_get_visible(window));
    EXPECT_TRUE(gtk_widget_is_focus(window));
    const auto [offsetX, offsetY] = ViewerOf(window).GetCentreOffset();
    EXPECT_GT(offsetX, 0);
    EXPECT_GT(offsetY, 0);
    ExpectShowsPicture(window, PaintScrollArea(smallPuzzle)->SelectedBitmap());
    ListCloseWindow(window);

    const std::string large = WriteWindowPuzzle(80, 80);
    CTessGrid largePuzzle(large);
    GtkWidget* scrolled = Load(large);
    PressKey(scrolled, GDK_Page_Down);
    PressKey(scrolled, GDK_Right);
    EXPECT_EQ(ViewerOf(scrolled).ScrollPosition(), (ScrollSize{12, 61}));
    ExpectShowsPicture(scrolled, PaintScrollArea(largePuzzle)->SelectedBitmap());
    ListCloseWindow(scrolled);
    EXPECT_EQ(gtk_container_get_children(GTK_CONTAINER(m_lister)), nullptr);
}

TEST_F(GtkViewer, ScrollBarsShowTheViewersRangeAndMoveIt)
{
    GtkWidget* window = Load(WriteWindowPuzzle(80, 80));
    const CGridlooker& viewer = ViewerOf(window);
    const CScrollModel& scroll = viewer.Scroll();
    const Parts parts = PartsOf(window);
    EXPECT_TRUE(gtk_widget_get_visible(parts.vertical));
    EXPECT_TRUE(gtk_widget_get_visible(parts.horizontal));
    GtkAdjustment* vertical = gtk_range_get_adjustment(GTK_RANGE(parts.vertical));
    EXPECT_EQ(gtk_adjustment_get_upper(vertical) - gtk_adjustment_get_page_size(vertical), scroll.MaxPosition().cy);
    EXPECT_EQ(gtk_adjustment_get_page_size(vertical), scroll.Client().cy);

    // The bar's own steps give way to the viewer's: a page is 5 cells and a pixel.
    EXPECT_TRUE(ScrollBarAction(parts.vertical, GTK_SCROLL_PAGE_FORWARD));
    EXPECT_EQ(viewer.ScrollPosition().cy, 61);
    ScrollBarAction(parts.vertical, GTK_SCROLL_STEP_BACKWARD);
    EXPECT_EQ(viewer.ScrollPosition().cy, 49);
    EXPECT_EQ(gtk_adjustment_get_value(vertical), 49);
    ScrollBarAction(parts.vertical, GTK_SCROLL_END);
    EXPECT_EQ(viewer.ScrollPosition().cy, scroll.MaxPosition().cy);
    ScrollBarAction(parts.horizontal, GTK_SCROLL_JUMP, 123.4);
    EXPECT_EQ(viewer.ScrollPosition().cx, 123);
    ScrollBarAction(parts.horizontal, GTK_SCROLL_JUMP, 1e9);
    EXPECT_EQ(viewer.ScrollPosition().cx, scroll.MaxPosition().cx);
    ListCloseWindow(window);

    // The host sizes the window on each resize of its own.
    GtkWidget* small = Load(WriteWindowPuzzle(12, 10));
    EXPECT_FALSE(gtk_widget_get_visible(PartsOf(small).vertical));
    gtk_widget_set_size_request(small, 150, 100);
    RunPendingEvents();
    EXPECT_TRUE(gtk_widget_get_visible(PartsOf(small).vertical));
    EXPECT_EQ(AllocatedSize(PartsOf(small).canvas), ViewerOf(small).Scroll().Client());
    ListCloseWindow(small);
}

// A key the viewer does not scroll by goes on to the host's widgets: its
// handler leaves the key unhandled.
TEST_F(GtkViewer, NavigationKeysScrollAndEveryOtherKeyGoesOn)
{
    GtkWidget* window = Load(WriteWindowPuzzle(80, 80));
    const CGridlooker& viewer = ViewerOf(window);
    EXPECT_TRUE(PressKey(window, GDK_Page_Down));
    EXPECT_TRUE(PressKey(window, GDK_KP_Down));
    EXPECT_TRUE(PressKey(window, GDK_Right));
    EXPECT_EQ(viewer.ScrollPosition(), (ScrollSize{12, 73}));
    EXPECT_TRUE(PressKey(window, GDK_End));
    EXPECT_EQ(viewer.ScrollPosition(), (ScrollSize{12, viewer.Scroll().MaxPosition().cy}));
    PressKey(window, GDK_Home);
    PressKey(window, GDK_Left);
    EXPECT_EQ(viewer.ScrollPosition(), (ScrollSize{0, 0}));
    for (const guint key : {GDK_Escape, GDK_F3, GDK_q, GDK_7, GDK_space, GDK_Tab})
        EXPECT_FALSE(PressKey(window, key)) << key;
    EXPECT_EQ(viewer.ScrollPosition(), (ScrollSize{0, 0}));
    ListCloseWindow(window);
}

TEST_F(GtkViewer, WheelAndMiddleButtonScroll)
{
    GtkWidget* window = Load(WriteWindowPuzzle(80, 80));
    const CGridlooker& viewer = ViewerOf(window);
    const Parts parts = PartsOf(window);
    const int notch = 3 * 12;
    EXPECT_TRUE(TurnWheel(parts.canvas, GDK_SCROLL_DOWN));
    EXPECT_EQ(viewer.ScrollPosition(), (ScrollSize{0, notch}));
    TurnWheel(parts.canvas, GDK_SCROLL_RIGHT);
    EXPECT_EQ(viewer.ScrollPosition(), (ScrollSize{notch, notch}));
    TurnWheel(parts.canvas, GDK_SCROLL_DOWN, GDK_SHIFT_MASK);
    EXPECT_EQ(viewer.ScrollPosition(), (ScrollSize{2 * notch, notch}));
    // Over a bar the wheel scrolls as over the picture, not by the bar's own steps.
    TurnWheel(parts.horizontal, GDK_SCROLL_DOWN);
    EXPECT_EQ(viewer.ScrollPosition(), (ScrollSize{2 * notch, 2 * notch}));
    TurnWheel(parts.vertical, GDK_SCROLL_UP);
    EXPECT_EQ(viewer.ScrollPosition(), (ScrollSize{2 * notch, notch}));
    EXPECT_FALSE(TurnWheel(parts.canvas, GDK_SCROLL_DOWN, GDK_CONTROL_MASK));
    EXPECT_EQ(viewer.ScrollPosition(), (ScrollSize{2 * notch, notch}));

    const ScrollSize start = viewer.ScrollPosition();
    Mouse(parts.canvas, GDK_BUTTON_PRESS, 2, 100, 100);
    Mouse(parts.canvas, GDK_MOTION_NOTIFY, 0, 60, 90);
    EXPECT_EQ(viewer.ScrollPosition(), (ScrollSize{start.cx + 40, start.cy + 10}));
    Mouse(parts.canvas, GDK_BUTTON_RELEASE, 2, 60, 90);
    Mouse(parts.canvas, GDK_MOTION_NOTIFY, 0, 0, 0);
    EXPECT_EQ(viewer.ScrollPosition(), (ScrollSize{start.cx + 40, start.cy + 10}));
    ListCloseWindow(window);
}

TEST_F(GtkViewer, HostDestroyingItsWindowEndsTheViewer)
{
    GtkWidget* window = Load(WriteWindowPuzzle(5, 5));
    GtkWidget* other = Load(WriteWindowPuzzle(6, 5));
    ListCloseWindow(other);
    gtk_widget_destroy(std::exchange(m_host, nullptr));
    RunPendingEvents();
    EXPECT_EQ(FindView(window), nullptr);
    ListCloseWindow(window);
    ListCloseWindow(nullptr);
}

// Without the GTK 2 plug-in beside it, the one file declines every file and
// says once why: GTK 2, and the plug-in it looked for. The toolkits that the
// process merely holds are not worth a word.
TEST_F(GtkViewer, OneFileWithoutTheGtk2PluginSaysSoOnce)
{
    HoldBuiltToolkits(GRIDLOOK_PLUGIN_FOLDER);
    const std::filesystem::path alone = CopyAlone(GRIDLOOK_PLUGIN_FOLDER "/gridlook-linux.wlx");
    void* const oneFile = dlopen(alone.c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(oneFile, nullptr) << dlerror();
    const auto load = reinterpret_cast<decltype(&ListLoad)>(dlsym(oneFile, "ListLoad"));
    ASSERT_NE(load, nullptr);
    std::string puzzle = WriteWindowPuzzle(5, 5);
    testing::internal::CaptureStderr();
    EXPECT_EQ(load(m_lister, puzzle.data(), 0), nullptr);
    EXPECT_EQ(load(m_lister, puzzle.data(), 0), nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "gridlook-linux.wlx: this process runs GTK 2, but its plug-in " +
                                                          (alone.parent_path() / "gridlook-gtk2.wlx").string() +
                                                          " is missing\n");
}

// In a host on GTK 3 the plug-in's GTK calls reach GTK 3, whose widgets a GTK 2
// viewer cannot live among: it declines every file there.
TEST(GtkPlugin, DeclinesEveryFileInAHostOnGtk3)
{
    const ToolRun run = RunCommand(GRIDLOOK_GTK3_HOST " " GRIDLOOK_GTK2_PLUGIN " " + WriteWindowPuzzle(5, 5));
    ASSERT_NE(run.exitStatus, 3) << "libgtk-3-0 is not installed (scripts/install-deps.sh toolkits): " << run.err;
    EXPECT_EQ(run.exitStatus, 0) << run.err;
}

TEST(GtkPlugin, ExportsExactlyTheSixEntryPoints)
{
    EXPECT_EQ(ExportedFunctions(GRIDLOOK_GTK2_PLUGIN), kListerEntryPoints);
}

} // namespace
