// The viewer on Qt widgets, through the entry points as a Qt lister host
// calls them: the host's windows are made here, on Qt's offscreen platform.
#include "platform/posix/RasterPicture.h"
#include "support/ExportedFunctions.h"
#include "plugin/ListerPlugin.h"
#include "support/PuzzleFiles.h"
#include "support/ToolkitPlugins.h"
#include "viewer/Gridlooker.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QPointer>
#include <QScrollBar>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#ifdef GRIDLOOK_SANITIZE
#include <sanitizer/lsan_interface.h>
#endif

#include <dlfcn.h>

#include <climits>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace {

class QtApplication : public testing::Environment {
public:
    void SetUp() override
    {
        qputenv("QT_QPA_PLATFORM", "offscreen");
#ifdef GRIDLOOK_SANITIZE
        // The offscreen platform never frees the screen it makes.
        const __lsan::ScopedDisabler qtOwnLeaks;
#endif
        m_application = std::make_unique<QApplication>(m_argc, m_argv);
    }
    void TearDown() override { m_application.reset(); }

private:
    int m_argc = 1;
    char m_name[16] = "gridlook_qt";
    char* m_argv[2] = {m_name, nullptr};
    std::unique_ptr<QApplication> m_application;
};

testing::Environment* const kQtApplication = testing::AddGlobalTestEnvironment(new QtApplication);

struct HostKey {
    int key;
    QString text;
    Qt::KeyboardModifiers modifiers;
    bool spontaneous;
};

// The key presses that reach the host's top-level window.
class HostKeys : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            m_keys.push_back({key->key(), key->text(), key->modifiers(), key->spontaneous()});
        }
        return false;
    }
    std::vector<HostKey> Take() { return std::exchange(m_keys, {}); }
    bool Empty() const { return m_keys.empty(); }

private:
    std::vector<HostKey> m_keys;
};

// The host: a top-level window with the lister window that the viewer goes
// into, smaller than the offscreen platform's screen (800 x 600).
class QtViewer : public testing::Test {
protected:
    void SetUp() override
    {
        m_host = std::make_unique<QWidget>();
        m_host->resize(600, 400);
        m_lister = new QWidget(m_host.get());
        m_lister->setGeometry(0, 0, 600, 400);
        m_host->installEventFilter(&m_hostKeys);
        m_host->show();
    }
    void TearDown() override
    {
        m_host.reset();
        QCoreApplication::processEvents();
    }

    QAbstractScrollArea* Load(std::string path)
    {
        return qobject_cast<QAbstractScrollArea*>(static_cast<QWidget*>(ListLoad(m_lister, path.data(), 0)));
    }
    static CGridlooker& ViewerOf(QWidget* window) { return dynamic_cast<CGridlooker&>(*FindView(window)); }

    // What the host has received once the event loop has run.
    std::vector<HostKey> KeysAtHost()
    {
        QCoreApplication::processEvents();
        return m_hostKeys.Take();
    }

    std::unique_ptr<QWidget> m_host;
    QWidget* m_lister = nullptr;
    HostKeys m_hostKeys;
};

QRgb Rgb(Colour colour)
{
    return qRgb(RedOf(colour), GreenOf(colour), BlueOf(colour));
}

// The client area shows the picture at the centring offset, moved by the
// scroll position, and white around it.
void ExpectShowsPicture(QAbstractScrollArea& window, const RasterBitmap& picture)
{
    const QImage shown = window.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const CGridlooker& viewer = dynamic_cast<CGridlooker&>(*FindView(&window));
    const ScrollSize scroll = viewer.ScrollPosition();
    const auto [offsetX, offsetY] = viewer.GetCentreOffset();
    ASSERT_EQ(shown.size(), QSize(viewer.Scroll().Client().cx, viewer.Scroll().Client().cy));
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
            const int px = x - offsetX + scroll.cx;
            const int py = y - offsetY + scroll.cy;
            const bool inPicture = px >= 0 && py >= 0 && px < picture.width && py < picture.height;
            ASSERT_EQ(shown.pixel(x, y), Rgb(inPicture ? picture.At(px, py) : kWhite)) << x << "," << y;
        }
    }
}

TEST_F(QtViewer, DeclinedFileGetsNoWindow)
{
    EXPECT_EQ(Load(WriteTestFile(Bytes{1, 2}, ".tgr")), nullptr);
    EXPECT_EQ(Load(TestFolder() + "/missing.tgw"), nullptr);
    EXPECT_TRUE(m_lister->findChildren<QWidget*>().isEmpty());
}

TEST_F(QtViewer, PaintShowsThePictureCentredOrScrolled)
{
    const std::string small = WriteWindowPuzzle(12, 10);
    CTessGrid smallPuzzle(small);
    QAbstractScrollArea* window = Load(small);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->parentWidget(), m_lister);
    EXPECT_TRUE(window->isVisible());
    const auto [offsetX, offsetY] = ViewerOf(window).GetCentreOffset();
    EXPECT_GT(offsetX, 0);
    EXPECT_GT(offsetY, 0);
    ExpectShowsPicture(*window, PaintScrollArea(smallPuzzle)->SelectedBitmap());

    const std::string large = WriteWindowPuzzle(80, 80);
    CTessGrid largePuzzle(large);
    QAbstractScrollArea* scrolled = Load(large);
    QTest::keyClick(scrolled, Qt::Key_PageDown);
    QTest::keyClick(scrolled, Qt::Key_Right);
    EXPECT_EQ(ViewerOf(scrolled).ScrollPosition(), (ScrollSize{12, 61}));
    ExpectShowsPicture(*scrolled, PaintScrollArea(largePuzzle)->SelectedBitmap());
    ListCloseWindow(window);
    ListCloseWindow(scrolled);
}

// The host hides its windows while it fills them, as Double Commander does:
// the window's own showing and hiding make the picture, an ancestor's do not.
TEST_F(QtViewer, PictureIsMadeWhenTheWindowItselfIsShownOrHidden)
{
    m_host->hide();
    QAbstractScrollArea* window = Load(WriteWindowPuzzle(5, 5));
    const CGridlooker& viewer = ViewerOf(window);
    ASSERT_NE(viewer.m_memDC, nullptr);
    EXPECT_EQ(viewer.m_bitmapWidth, viewer.m_puzzle->m_layoutWidth + 31);
    EXPECT_EQ(viewer.m_bitmapHeight, viewer.m_puzzle->m_layoutHeight + 31);

    // A pixel put into the picture stays until the picture is made again.
    const auto marked = [&viewer] {
        return dynamic_cast<const CRasterSurface&>(*viewer.m_memDC).SelectedBitmap().At(0, 0) == kBlack;
    };
    viewer.m_memDC->SetPixel(0, 0, kBlack);
    m_host->show();
    EXPECT_TRUE(marked());
    // Hidden, nobody sees it; shown again, it is made again.
    window->hide();
    EXPECT_TRUE(marked());
    window->show();
    EXPECT_FALSE(marked());
    ListCloseWindow(window);
}

TEST_F(QtViewer, ScrollBarsShowTheViewersRangeAndMoveIt)
{
    QAbstractScrollArea* window = Load(WriteWindowPuzzle(80, 80));
    const CGridlooker& viewer = ViewerOf(window);
    const CScrollModel& scroll = viewer.Scroll();
    QScrollBar& vertical = *window->verticalScrollBar();
    QScrollBar& horizontal = *window->horizontalScrollBar();
    EXPECT_EQ(window->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(window->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(window->viewport()->size(), QSize(scroll.Client().cx, scroll.Client().cy));
    EXPECT_EQ(vertical.maximum(), scroll.MaxPosition().cy);
    EXPECT_EQ(vertical.pageStep(), scroll.Client().cy);

    // The bar's own steps give way to the viewer's: a page is 5 cells and a pixel.
    vertical.triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(viewer.ScrollPosition().cy, 61);
    vertical.triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(viewer.ScrollPosition().cy, 49);
    EXPECT_EQ(vertical.value(), 49);
    vertical.triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(viewer.ScrollPosition().cy, scroll.MaxPosition().cy);
    horizontal.setSliderDown(true);
    horizontal.setSliderPosition(123);
    horizontal.setSliderDown(false);
    EXPECT_EQ(viewer.ScrollPosition().cx, 123);
    EXPECT_EQ(horizontal.value(), 123);
    ListCloseWindow(window);

    // The host sizes the window itself.
    QAbstractScrollArea* small = Load(WriteWindowPuzzle(12, 10));
    EXPECT_EQ(small->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    small->resize(150, 100);
    EXPECT_EQ(small->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(small->viewport()->size(),
              QSize(ViewerOf(small).Scroll().Client().cx, ViewerOf(small).Scroll().Client().cy));
    ListCloseWindow(small);
}

TEST_F(QtViewer, NavigationKeysScrollTheViewerAndGoNoFurther)
{
    QAbstractScrollArea* window = Load(WriteWindowPuzzle(80, 80));
    const CGridlooker& viewer = ViewerOf(window);
    QTest::keyClick(window, Qt::Key_PageDown);
    QTest::keyClick(window, Qt::Key_Down);
    QTest::keyClick(window, Qt::Key_Right);
    EXPECT_EQ(viewer.ScrollPosition(), (ScrollSize{12, 73}));
    QTest::keyClick(window, Qt::Key_End);
    EXPECT_EQ(viewer.ScrollPosition(), (ScrollSize{12, viewer.Scroll().MaxPosition().cy}));
    QTest::keyClick(window, Qt::Key_Home);
    QTest::keyClick(window, Qt::Key_Left);
    EXPECT_EQ(viewer.ScrollPosition(), (ScrollSize{0, 0}));
    QTest::keyClick(window, Qt::Key_PageUp);
    QTest::keyClick(window, Qt::Key_Up);
    EXPECT_TRUE(KeysAtHost().empty());
    ListCloseWindow(window);
}

// The host acts on what reaches its top-level window from the window system,
// and may close the viewer on it: so a key goes there later, as if typed there.
TEST_F(QtViewer, KeysTheViewerDoesNotUseGoToTheHostAfterwards)
{
    QAbstractScrollArea* window = Load(WriteWindowPuzzle(80, 80));
    QTest::keyClick(window, Qt::Key_Escape);
    QTest::keyClick(window, Qt::Key_F3);
    QTest::keyClick(window, 'Q', Qt::ShiftModifier);
    EXPECT_TRUE(m_hostKeys.Empty());
    const std::vector<HostKey> keys = KeysAtHost();
    ASSERT_EQ(keys.size(), 4u);
    EXPECT_EQ(keys[0].key, Qt::Key_Escape);
    EXPECT_EQ(keys[1].key, Qt::Key_F3);
    EXPECT_EQ(keys[2].key, Qt::Key_Shift);
    EXPECT_EQ(keys[3].key, Qt::Key_Q);
    EXPECT_EQ(keys[3].text, "Q");
    EXPECT_EQ(keys[3].modifiers, Qt::ShiftModifier);
    for (const HostKey& key : keys)
        EXPECT_TRUE(key.spontaneous);
    EXPECT_EQ(ViewerOf(window).ScrollPosition(), (ScrollSize{0, 0}));
    ListCloseWindow(window);
}

TEST_F(QtViewer, DigitsOneToSevenReachTheHostOnceAsTheirKeys)
{
    QAbstractScrollArea* window = Load(WriteWindowPuzzle(5, 5));
    QTest::keyClick(window, '7');
    QTest::keyClick(window, Qt::Key_1, Qt::KeypadModifier);
    QTest::keyClick(window, '8');
    const std::vector<HostKey> keys = KeysAtHost();
    ASSERT_EQ(keys.size(), 3u);
    EXPECT_EQ(keys[0].key, Qt::Key_7);
    EXPECT_EQ(keys[0].text, "7");
    // The character is passed on, not the key that typed it.
    EXPECT_EQ(keys[1].key, Qt::Key_1);
    EXPECT_EQ(keys[1].modifiers, Qt::NoModifier);
    EXPECT_EQ(keys[2].key, Qt::Key_8);
    for (const HostKey& key : keys)
        EXPECT_TRUE(key.spontaneous);
    ListCloseWindow(window);
}

TEST_F(QtViewer, HostMayCloseTheViewerOrItselfWhileAKeyWaits)
{
    QAbstractScrollArea* window = Load(WriteWindowPuzzle(5, 5));
    QTest::keyClick(window, Qt::Key_Escape);
    QTest::keyClick(window, '3');
    ListCloseWindow(window);
    EXPECT_EQ(KeysAtHost().size(), 2u);

    window = Load(WriteWindowPuzzle(5, 5));
    QTest::keyClick(window, Qt::Key_Escape);
    m_host.reset();
    QCoreApplication::processEvents();
    EXPECT_TRUE(m_hostKeys.Empty());
}

TEST_F(QtViewer, HostDestroyingItsWindowEndsTheViewer)
{
    QPointer<QAbstractScrollArea> window = Load(WriteWindowPuzzle(5, 5));
    const WindowHandle handle = window.data();
    QAbstractScrollArea* other = Load(WriteWindowPuzzle(6, 5));
    ListCloseWindow(other);
    delete m_lister;
    EXPECT_TRUE(window.isNull());
    EXPECT_EQ(FindView(handle), nullptr);
    ListCloseWindow(handle);
    ListCloseWindow(nullptr);
    ListCloseWindow(m_host.get());
    EXPECT_EQ(FindView(m_host.get()), nullptr);
}

TEST_F(QtViewer, WheelAndMiddleButtonScroll)
{
    QAbstractScrollArea* window = Load(WriteWindowPuzzle(80, 80));
    const CGridlooker& viewer = ViewerOf(window);
    QWidget* viewport = window->viewport();
    QWheelEvent wheel(QPointF(100, 100), QPointF(viewport->mapToGlobal(QPoint(100, 100))), QPoint(), QPoint(0, -120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(viewport, &wheel);
    EXPECT_EQ(viewer.ScrollPosition().cy, QApplication::wheelScrollLines() * 12);

    const ScrollSize start = viewer.ScrollPosition();
    const auto mouse = [viewport](QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held, QPoint at) {
        QMouseEvent event(type, at, viewport->mapToGlobal(at), button, held, Qt::NoModifier);
        QApplication::sendEvent(viewport, &event);
    };
    mouse(QEvent::MouseButtonPress, Qt::MiddleButton, Qt::MiddleButton, {100, 100});
    mouse(QEvent::MouseMove, Qt::NoButton, Qt::MiddleButton, {60, 90});
    EXPECT_EQ(viewer.ScrollPosition(), (ScrollSize{start.cx + 40, start.cy + 10}));
    mouse(QEvent::MouseButtonRelease, Qt::MiddleButton, Qt::NoButton, {60, 90});
    mouse(QEvent::MouseMove, Qt::NoButton, Qt::NoButton, {0, 0});
    EXPECT_EQ(viewer.ScrollPosition(), (ScrollSize{start.cx + 40, start.cy + 10}));
    ListCloseWindow(window);
}

// A touchpad's small steps add up to the notch; a sideways turn and Shift
// scroll sideways; Ctrl leaves the wheel to the host.
TEST_F(QtViewer, WheelInPartsSidewaysAndWithModifiers)
{
    QAbstractScrollArea* window = Load(WriteWindowPuzzle(80, 80));
    const CGridlooker& viewer = ViewerOf(window);
    QWidget* viewport = window->viewport();
    const int notch = QApplication::wheelScrollLines() * 12;
    const auto wheel = [viewport](QPoint delta, Qt::KeyboardModifiers modifiers) {
        QWheelEvent event(QPointF(100, 100), QPointF(viewport->mapToGlobal(QPoint(100, 100))), QPoint(), delta,
                          Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
        QApplication::sendEvent(viewport, &event);
        return event.isAccepted();
    };
    for (int i = 0; i < 8; ++i)
        wheel({0, -15}, Qt::NoModifier);
    EXPECT_EQ(viewer.ScrollPosition(), (ScrollSize{0, notch}));
    wheel({-120, 0}, Qt::NoModifier);
    EXPECT_EQ(viewer.ScrollPosition(), (ScrollSize{notch, notch}));
    wheel({0, -120}, Qt::ShiftModifier);
    EXPECT_EQ(viewer.ScrollPosition(), (ScrollSize{2 * notch, notch}));
    EXPECT_FALSE(wheel({0, -120}, Qt::ControlModifier));
    EXPECT_EQ(viewer.ScrollPosition(), (ScrollSize{2 * notch, notch}));
    ListCloseWindow(window);
}

TEST_F(QtViewer, DeclinesAParentThatIsNoWidgetAndACallOffTheApplicationsThread)
{
    std::string puzzle = WriteWindowPuzzle(5, 5);
    // Read as a widget, this would take the test down.
    long notAWidget[64] = {};
    EXPECT_EQ(ListLoad(notAWidget, puzzle.data(), 0), nullptr);
    WindowHandle fromThread = notAWidget;
    std::thread([&] { fromThread = ListLoad(m_lister, puzzle.data(), 0); }).join();
    EXPECT_EQ(fromThread, nullptr);
    EXPECT_TRUE(m_lister->findChildren<QWidget*>().isEmpty());
}

template <typename Function>
Function Find(void* library, const char* name)
{
    return library ? reinterpret_cast<Function>(dlsym(library, name)) : nullptr;
}

std::string BuiltPlugin(const std::string& name)
{
    return std::string(GRIDLOOK_PLUGIN_FOLDER) + "/" + name;
}

struct PluginLibrary {
    explicit PluginLibrary(const std::string& path)
        : library(dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL)),
          load(Find<decltype(&ListLoad)>(library, "ListLoad")),
          closeWindow(Find<decltype(&ListCloseWindow)>(library, "ListCloseWindow")),
          sendCommand(Find<decltype(&ListSendCommand)>(library, "ListSendCommand"))
    {
    }

    // Plug-ins stay loaded, as in a host: toolkits are not made to be unloaded.
    void* library;
    decltype(&ListLoad) load;
    decltype(&ListCloseWindow) closeWindow;
    decltype(&ListSendCommand) sendCommand;
};

// A host on this Qt, given each plug-in file: the one file for every toolkit
// hands the puzzle to the plug-in of this Qt, and the plug-ins of the other
// toolkits decline it, leaving the host's window as it was.
TEST_F(QtViewer, EachPluginFileInAHostOnThisQt)
{
    std::string puzzle = WriteWindowPuzzle(5, 5);
    const PluginLibrary oneFile(BuiltPlugin("gridlook-linux.wlx"));
    ASSERT_TRUE(oneFile.load && oneFile.closeWindow && oneFile.sendCommand) << dlerror();
    auto* window = static_cast<QWidget*>(oneFile.load(m_lister, puzzle.data(), 0));
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->parentWidget(), m_lister);
    // Copy is done on a viewer window, and not done on any other.
    EXPECT_EQ(oneFile.sendCommand(window, 1, 0), 0);
    EXPECT_EQ(oneFile.sendCommand(m_lister, 1, 0), 1);
    oneFile.closeWindow(window);
    EXPECT_EQ(oneFile.sendCommand(window, 1, 0), 1);
    EXPECT_TRUE(m_lister->findChildren<QWidget*>().isEmpty());

    for (const std::string name : {"gridlook-gtk2.wlx", "gridlook-qt5.wlx", "gridlook-qt6.wlx"}) {
        if (name == std::filesystem::path(GRIDLOOK_QT_PLUGIN).filename() || !std::filesystem::exists(BuiltPlugin(name)))
            continue;
        const PluginLibrary foreign(BuiltPlugin(name));
        ASSERT_NE(foreign.load, nullptr) << name << ": " << dlerror();
        EXPECT_EQ(foreign.load(m_lister, puzzle.data(), 0), nullptr) << name;
        EXPECT_TRUE(m_lister->findChildren<QWidget*>().isEmpty()) << name;
    }
}

// Without the plug-in of this Qt beside it, the one file declines every file
// and says once why: this Qt, and the plug-in it looked for. The toolkits that
// the process merely holds are not worth a word.
TEST_F(QtViewer, OneFileWithoutThePluginOfThisQtSaysSoOnce)
{
    HoldBuiltToolkits(GRIDLOOK_PLUGIN_FOLDER);
    const std::filesystem::path alone = CopyAlone(BuiltPlugin("gridlook-linux.wlx"));
    const PluginLibrary oneFile(alone);
    ASSERT_NE(oneFile.load, nullptr) << dlerror();
    std::string puzzle = WriteWindowPuzzle(5, 5);
    testing::internal::CaptureStderr();
    EXPECT_EQ(oneFile.load(m_lister, puzzle.data(), 0), nullptr);
    EXPECT_EQ(oneFile.load(m_lister, puzzle.data(), 0), nullptr);
    const std::string qt = std::to_string(QT_VERSION_MAJOR);
    const std::filesystem::path missing = alone.parent_path() / ("gridlook-qt" + qt + ".wlx");
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "gridlook-linux.wlx: this process runs Qt " + qt + ", but its plug-in " + missing.string() +
                  " is missing\n");
    EXPECT_TRUE(m_lister->findChildren<QWidget*>().isEmpty());
}

// A turn larger than a wheel message carries scrolls as the same turn in
// steps does, each step at most a page; a turn to the end stops there.
TEST_F(QtViewer, WheelTurnBeyondSixteenBitsIsNotCutShort)
{
    QAbstractScrollArea* window = Load(WriteWindowPuzzle(80, 80));
    QAbstractScrollArea* stepped = Load(WriteWindowPuzzle(80, 80));
    const CGridlooker& viewer = ViewerOf(window);
    const auto wheel = [](QAbstractScrollArea* area, QPoint delta) {
        QWidget* viewport = area->viewport();
        QWheelEvent event(QPointF(100, 100), QPointF(viewport->mapToGlobal(QPoint(100, 100))), QPoint(), delta,
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(viewport, &event);
    };
    wheel(window, {0, -40000});
    wheel(stepped, {0, -30000});
    wheel(stepped, {0, -10000});
    EXPECT_EQ(viewer.ScrollPosition(), (ScrollSize{0, 2 * 61}));
    EXPECT_EQ(viewer.ScrollPosition(), ViewerOf(stepped).ScrollPosition());

    wheel(window, {INT_MIN, INT_MIN});
    EXPECT_EQ(viewer.ScrollPosition(), viewer.Scroll().MaxPosition());
    wheel(window, {INT_MAX, INT_MAX});
    EXPECT_EQ(viewer.ScrollPosition(), (ScrollSize{0, 0}));
    ListCloseWindow(window);
    ListCloseWindow(stepped);
}

TEST(QtPlugin, ExportsExactlyTheSixEntryPoints)
{
    EXPECT_EQ(ExportedFunctions(GRIDLOOK_QT_PLUGIN), kListerEntryPoints);
}

} // namespace
