// The viewer window and the entry points, on the in-memory window system.
#include "platform/headless/HeadlessWindows.h"
#include "platform/posix/RasterPicture.h"
#include "plugin/ListerPlugin.h"
#include "support/Pixels.h"
#include "support/PuzzleFiles.h"
#include "support/RecordingSurface.h"
#include "viewer/Gridlooker.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <utility>

namespace {

constexpr int kBar = headless::kScrollBarThickness;

// A puzzle whose layout is `columns` wide and `rows` high with `rowSlots` clue
// slots beside each row and `columnSlots` above each column, filled with a
// pattern.
std::string PuzzleFile(int columns, int rows, int rowSlots = 3, int columnSlots = 1)
{
    NativeFile file;
    file.colourCount = 3;
    file.palette = {kWhite, MakeColour(200, 0, 0), MakeColour(0, 0, 160)};
    file.width = static_cast<std::uint8_t>(columns);
    file.height = static_cast<std::uint8_t>(rows);
    file.rowClueMax = static_cast<std::uint8_t>(rowSlots);
    file.columnClueMax = static_cast<std::uint8_t>(columnSlots);
    for (int i = 0; i < columns * columnSlots; ++i)
        file.columnClues.insert(file.columnClues.end(), {static_cast<std::uint8_t>(i % 9 + 1), 1});
    for (int i = 0; i < rows * rowSlots; ++i)
        file.rowClues.insert(file.rowClues.end(), {static_cast<std::uint8_t>(i % 7 + 1), 2});
    for (int i = 0; i < columns * rows; ++i)
        file.picture.push_back(static_cast<std::uint8_t>(i % 3 == 0 ? 1 : i % 5 == 0 ? 255 : 0));
    return WriteTestFile(file.ToBytes(), ".tgn");
}

class Viewer : public testing::Test {
protected:
    void SetUp() override
    {
        m_windowsBefore = headless::WindowCount();
        m_parent = headless::CreateParentWindow(800, 600);
        m_savedPrefix = std::getenv("WINEPREFIX");
    }
    void TearDown() override
    {
        headless::DestroyWindow(m_parent);
        EXPECT_EQ(headless::WindowCount(), m_windowsBefore);
        setenv("WINEPREFIX", m_savedPrefix.c_str(), 1);
    }

    // Settings for the viewers made from now on.
    void UseSettings(std::uint8_t cellSize, bool centre)
    {
        const std::string prefix = TestFolder() + "/viewer-prefix-" + std::to_string(++m_prefixes);
        std::filesystem::create_directories(prefix);
        char options1[64];
        std::snprintf(options1, sizeof options1, "hex:00,01,01,%02x,03,03,01,01,01", cellSize);
        std::ofstream(prefix + "/user.reg") << "[Software\\\\Brackwater Studio\\\\Tessa Grids\\\\Settings]\n"
                                            << "\"Options1\"=" << options1 << "\n"
                                            << "\"Options3\"=hex:00,01,01," << (centre ? "01" : "00")
                                            << ",01,01,01,01,64\n";
        setenv("WINEPREFIX", prefix.c_str(), 1);
    }

    WindowHandle Load(const std::string& path) { return ListLoad(m_parent, const_cast<char*>(path.c_str()), 0); }

    static CGridlooker& ViewerOf(WindowHandle window) { return dynamic_cast<CGridlooker&>(*FindView(window)); }

    static void Key(WindowHandle window, std::uint32_t key, int repeat = 1)
    {
        SendWindowMessage(window, kWmKeyDown, key, repeat);
    }

    WindowHandle m_parent = nullptr;
    std::size_t m_windowsBefore = 0;
    std::string m_savedPrefix;
    int m_prefixes = 0;
};

TEST_F(Viewer, DeclinedFilesGetNoWindowAndLeaveNothing)
{
    for (const std::string& path : {TestFolder() + "/missing.tgr", WriteTestFile(Bytes(80, 0), ".dat"),
                                    WriteTestFile(Bytes{1, 2}, ".tgr")}) {
        EXPECT_EQ(Load(path), nullptr) << path;
        const CGridlooker viewer(path);
        EXPECT_EQ(viewer.m_puzzle, nullptr);
    }
    EXPECT_EQ(ListLoad(m_parent, nullptr, 0), nullptr);
    EXPECT_EQ(headless::WindowCount(), m_windowsBefore + 1);
}

// Every format, the public ones known by their contents, through the one
// model: each example is shown, and another program's XML is declined.
TEST_F(Viewer, EveryExampleIsShown)
{
    int shown = 0;
    for (const auto& entry : std::filesystem::directory_iterator(GRIDLOOK_SOURCE_DIR "/examples")) {
        if (entry.path().extension() == ".py")
            continue;
        const WindowHandle window = Load(entry.path().string());
        EXPECT_NE(window, nullptr) << entry.path();
        shown += window ? 1 : 0;
        ListCloseWindow(window);
    }
    EXPECT_GE(shown, 14);
    EXPECT_EQ(Load(WriteTestFile("<?xml version=\"1.0\"?>\n<svg width=\"1\"/>\n", ".xml")), nullptr);
}

TEST_F(Viewer, PuzzleTooLargeToPictureIsDeclined)
{
    UseSettings(255, true);
    EXPECT_EQ(Load(WriteTestFile(Bytes{255, 255, 0, 0}, ".tgr")), nullptr);
}

TEST_F(Viewer, WindowCoversTheParentAndShowsItself)
{
    for (const int flags : {0, 1, 2, -1}) {
        const std::string path = PuzzleFile(10, 10);
        const WindowHandle window = ListLoad(m_parent, const_cast<char*>(path.c_str()), flags);
        ASSERT_NE(window, nullptr);
        const headless::WindowState& state = headless::StateOf(window);
        EXPECT_EQ(state.parent, m_parent);
        EXPECT_EQ(state.clientWithoutBars, (ScrollSize{800, 600}));
        EXPECT_TRUE(state.visible);
        LResult handled = 0;
        EXPECT_TRUE(ViewerOf(window).OnMessage(kWmSetCursor, 0, 0, handled));
        EXPECT_EQ(handled, 1);
        EXPECT_TRUE(headless::StateOf(window).arrowCursor);
        ListCloseWindow(window);
        EXPECT_FALSE(headless::IsWindow(window));
    }
}

TEST_F(Viewer, ScrollSizesFollowTheLayoutAndCellSize)
{
    UseSettings(8, true);
    const WindowHandle window = Load(PuzzleFile(21, 10));
    CGridlooker& viewer = ViewerOf(window);
    const auto [width, height] = viewer.m_puzzle->LayoutExtent();
    EXPECT_EQ(width, 200);
    EXPECT_EQ(viewer.Scroll().Total(), (ScrollSize{width + 30, height + 30}));
    EXPECT_EQ(viewer.Scroll().Page(), (ScrollSize{41, 41}));
    EXPECT_EQ(viewer.Scroll().Line(), (ScrollSize{8, 8}));
    ListCloseWindow(window);
}

TEST_F(Viewer, SmallPuzzleIsCentredAlongAxesWhereItFits)
{
    UseSettings(8, true);
    const WindowHandle window = Load(PuzzleFile(21, 10));
    CGridlooker& viewer = ViewerOf(window);
    const int height = viewer.m_puzzle->m_layoutHeight;
    headless::ResizeWindow(m_parent, 500, 400);
    EXPECT_EQ(viewer.GetCentreOffset(), std::make_pair(135, (400 - height - 30) / 2));
    headless::ResizeWindow(m_parent, 231, 400);
    EXPECT_EQ(viewer.GetCentreOffset().first, 0);
    EXPECT_FALSE(headless::StateOf(window).horizontalBar);
    headless::ResizeWindow(m_parent, 229, 400);
    EXPECT_EQ(viewer.GetCentreOffset().first, 0);
    EXPECT_TRUE(headless::StateOf(window).horizontalBar);
    ListCloseWindow(window);

    UseSettings(8, false);
    const WindowHandle corner = Load(PuzzleFile(21, 10));
    headless::ResizeWindow(m_parent, 500, 400);
    EXPECT_EQ(ViewerOf(corner).GetCentreOffset(), std::make_pair(0, 0));
    ListCloseWindow(corner);
}

// The client area is the off-screen picture at the centring offset, white
// around it, wherever the window has scrolled to.
void ExpectShowsPicture(WindowHandle window, const RasterBitmap& picture)
{
    const CGridlooker& viewer = dynamic_cast<CGridlooker&>(*FindView(window));
    const ScrollSize scroll = viewer.ScrollPosition();
    const auto [offsetX, offsetY] = viewer.GetCentreOffset();
    const RasterBitmap client = headless::PaintWindow(window);
    for (int y = 0; y < client.height; ++y) {
        for (int x = 0; x < client.width; ++x) {
            const int px = x - offsetX + scroll.cx;
            const int py = y - offsetY + scroll.cy;
            const bool inPicture = px >= 0 && py >= 0 && px < picture.width && py < picture.height;
            ASSERT_EQ(client.At(x, y), inPicture ? picture.At(px, py) : kWhite) << x << "," << y;
        }
    }
}

RasterBitmap PictureOf(const std::string& path)
{
    CTessGrid puzzle(path);
    return PaintScrollArea(puzzle)->SelectedBitmap();
}

TEST_F(Viewer, PaintCopiesThePictureWithWhiteMargins)
{
    const std::string path = PuzzleFile(12, 60);
    const WindowHandle window = Load(path);
    const CGridlooker& viewer = ViewerOf(window);
    Key(window, kVkNext, 2);
    ASSERT_GT(viewer.ScrollPosition().cy, 0);
    ASSERT_GT(viewer.GetCentreOffset().first, 0);
    ASSERT_EQ(viewer.GetCentreOffset().second, 0);
    ASSERT_EQ(headless::PaintWindow(window).width, 800 - kBar);
    ExpectShowsPicture(window, PictureOf(path));
    ListCloseWindow(window);
}

// The off-screen picture is no larger than the scroll area: what lies beyond
// it is white too, centred or not, and however far the window has scrolled.
TEST_F(Viewer, WindowLargerThanThePictureIsPaintedEverywhere)
{
    for (const bool centre : {false, true}) {
        UseSettings(12, centre);
        const std::string small = PuzzleFile(10, 10);
        const WindowHandle window = Load(small);
        ExpectShowsPicture(window, PictureOf(small));
        ListCloseWindow(window);

        const std::string wide = PuzzleFile(90, 20);
        const WindowHandle scrolled = Load(wide);
        SendWindowMessage(scrolled, kWmHScroll, kSbBottom, 0);
        ASSERT_GT(ViewerOf(scrolled).ScrollPosition().cx, 0);
        ExpectShowsPicture(scrolled, PictureOf(wide));
        ListCloseWindow(scrolled);
    }
}

// A paint draws nothing of the puzzle anew: one copy, and a fill for each
// side of the window that the picture leaves.
TEST_F(Viewer, PaintIsOneCopyAndAFillForEachMargin)
{
    for (const auto& [cells, fills] : {std::pair{5, 4}, std::pair{80, 0}}) {
        const WindowHandle window = Load(PuzzleFile(cells, cells));
        RecordingSurface dc(800, 600);
        ViewerOf(window).OnPaint(dc);
        EXPECT_EQ(dc.BitBlts(), 1) << cells;
        EXPECT_EQ(dc.PatBlts(), fills) << cells;
        ListCloseWindow(window);
    }
}

TEST_F(Viewer, NavigationKeysScrollByTheTable)
{
    const WindowHandle window = Load(PuzzleFile(80, 80));
    const CGridlooker& viewer = ViewerOf(window);
    const int page = 61;
    const ScrollSize limit = viewer.Scroll().MaxPosition();
    ASSERT_GT(limit.cy, 4 * page);

    Key(window, kVkNext, 3);
    EXPECT_EQ(viewer.ScrollPosition(), (ScrollSize{0, 3 * page}));
    Key(window, kVkNext, 0);
    EXPECT_EQ(viewer.ScrollPosition().cy, 3 * page);
    Key(window, kVkRight, 2);
    Key(window, kVkDown);
    EXPECT_EQ(viewer.ScrollPosition(), (ScrollSize{24, 3 * page + 12}));
    Key(window, kVkEnd, 5);
    EXPECT_EQ(viewer.ScrollPosition(), (ScrollSize{24, limit.cy}));
    Key(window, kVkNext, 3);
    EXPECT_EQ(viewer.ScrollPosition().cy, limit.cy);
    Key(window, kVkHome);
    EXPECT_EQ(viewer.ScrollPosition(), (ScrollSize{24, 0}));
    Key(window, kVkLeft, 5);
    Key(window, kVkUp);
    Key(window, kVkPrior);
    EXPECT_EQ(viewer.ScrollPosition(), (ScrollSize{0, 0}));
    for (const std::uint32_t other : {0x1Bu, 0x70u, 0x41u, 0x2Eu})
        Key(window, other, 4);
    EXPECT_EQ(viewer.ScrollPosition(), (ScrollSize{0, 0}));
    EXPECT_TRUE(headless::MessagesOf(m_parent).empty());
    ListCloseWindow(window);
}

TEST_F(Viewer, OnlyTheDigitsOneToSevenGoToTheParent)
{
    const WindowHandle window = Load(PuzzleFile(5, 5));
    const LParam flags = 0x00210001; // scan code 0x21, repeat 1
    for (const WParam character : {WParam{'7'}, WParam{'8'}, WParam{'0'}, WParam{'a'}, WParam{'1'}, WParam{0x133}})
        SendWindowMessage(window, kWmChar, character, flags);
    const std::vector<headless::Message>& received = headless::MessagesOf(m_parent);
    ASSERT_EQ(received.size(), 3u);
    EXPECT_EQ(received[0].message, kWmChar);
    EXPECT_EQ(received[0].wParam, WParam{0x37});
    EXPECT_EQ(received[0].lParam, 0x0021);
    EXPECT_EQ(received[1].wParam, WParam{'1'});
    EXPECT_EQ(received[2].wParam, WParam{0x133});
    ListCloseWindow(window);
}

// Resizing, scrolling and painting copy the picture that was made. Hidden,
// nobody sees it (a host that destroys the window hides it first); shown
// again, it is made again.
TEST_F(Viewer, PictureIsRebuiltOnShowOnly)
{
    const WindowHandle window = Load(PuzzleFile(5, 5));
    CGridlooker& viewer = ViewerOf(window);
    const DrawObject first = viewer.m_bitmap;
    headless::ResizeWindow(m_parent, 300, 200);
    Key(window, kVkDown);
    headless::PaintWindow(window);
    EXPECT_EQ(viewer.m_bitmap, first);
    SendWindowMessage(window, kWmShowWindow, 0, 0);
    EXPECT_EQ(viewer.m_bitmap, first);
    SendWindowMessage(window, kWmShowWindow, 1, 0);
    EXPECT_NE(viewer.m_bitmap, first);
    ListCloseWindow(window);
}

// A window that could never paint its puzzle is no use to the host, which
// shows its own viewer when the file is declined; a later showing whose
// bitmap is refused keeps the picture it has.
TEST_F(Viewer, PictureThatCannotBeMadeDeclinesTheFileOrIsKept)
{
    const std::string path = PuzzleFile(5, 5);
    headless::RefuseBitmaps(true);
    EXPECT_EQ(Load(path), nullptr);
    EXPECT_EQ(headless::WindowCount(), m_windowsBefore + 1);
    headless::RefuseBitmaps(false);

    const WindowHandle window = Load(path);
    ASSERT_NE(window, nullptr);
    const DrawObject shown = ViewerOf(window).m_bitmap;
    headless::RefuseBitmaps(true);
    SendWindowMessage(window, kWmShowWindow, 1, 0);
    headless::RefuseBitmaps(false);
    EXPECT_EQ(ViewerOf(window).m_bitmap, shown);
    ExpectShowsPicture(window, PictureOf(path));
    ListCloseWindow(window);
}

// The host may act on a character handed on to it by closing the viewer, or
// by destroying its own window: nothing may touch the viewer afterwards.
TEST_F(Viewer, HostMayCloseTheViewerWhileACharacterReachesIt)
{
    WindowHandle window = Load(PuzzleFile(5, 5));
    headless::SetMessageHandler(m_parent, [&window](const headless::Message& message) {
        if (message.message == kWmChar)
            ListCloseWindow(std::exchange(window, nullptr));
    });
    SendWindowMessage(window, kWmChar, '3', 0x00210001);
    EXPECT_EQ(window, nullptr);
    EXPECT_EQ(headless::WindowCount(), m_windowsBefore + 1);

    const WindowHandle host = headless::CreateParentWindow(400, 300);
    const std::string path = PuzzleFile(5, 5);
    const WindowHandle child = ListLoad(host, const_cast<char*>(path.c_str()), 0);
    headless::SetMessageHandler(host, [host](const headless::Message& message) {
        if (message.message == kWmChar)
            headless::DestroyWindow(host);
    });
    SendWindowMessage(child, kWmChar, '5', 0x00210001);
    EXPECT_FALSE(headless::IsWindow(host));
    EXPECT_FALSE(headless::IsWindow(child));
    EXPECT_EQ(headless::WindowCount(), m_windowsBefore + 1);
}

// The off-screen picture is the scroll area and one pixel more, whatever the
// screen: the limit on it bounds all that the viewer allocates. So a puzzle
// whose picture passes the limit only by its own extent is shown: 255 x 1 cells
// with 255 clues beside the row, at the largest cell size, is far wider than
// any screen but lower than most, and a bitmap as high as a 3840 x 2160 screen
// would be beyond the limit.
TEST_F(Viewer, PictureIsTheScrollAreaAndOnePixelMore)
{
    const auto expectOwnSize = [](const CGridlooker& viewer) {
        EXPECT_EQ(viewer.m_bitmapWidth, viewer.m_puzzle->m_layoutWidth + 31);
        EXPECT_EQ(viewer.m_bitmapHeight, viewer.m_puzzle->m_layoutHeight + 31);
    };
    for (const std::string& path : {PuzzleFile(5, 5), PuzzleFile(100, 90, 20)}) {
        const WindowHandle window = Load(path);
        ASSERT_NE(window, nullptr);
        expectOwnSize(ViewerOf(window));
        ListCloseWindow(window);
    }

    UseSettings(255, false);
    const std::string wide = PuzzleFile(255, 1, 255, 0);
    const WindowHandle window = Load(wide);
    ASSERT_NE(window, nullptr);
    const CGridlooker& viewer = ViewerOf(window);
    expectOwnSize(viewer);
    EXPECT_EQ(viewer.m_bitmapHeight, 290);
    EXPECT_GT(std::int64_t{viewer.m_bitmapWidth} * 2160, kMaxPicturePixels);
    SendWindowMessage(window, kWmHScroll, kSbBottom, 0);
    ExpectShowsPicture(window, PictureOf(wide));
    ListCloseWindow(window);
}

TEST_F(Viewer, WheelAndPanningScroll)
{
    const WindowHandle window = Load(PuzzleFile(80, 80));
    const CGridlooker& viewer = ViewerOf(window);
    SendWindowMessage(window, kWmMouseWheel, MakeWParam(0, static_cast<unsigned>(-kWheelDelta)), 0);
    EXPECT_EQ(viewer.ScrollPosition().cy, 36);
    SendWindowMessage(window, kWmMButtonDown, 0, MakeWParam(100, 100));
    EXPECT_TRUE(headless::StateOf(window).captured);
    SendWindowMessage(window, kWmMouseMove, 0, MakeWParam(60, 90));
    EXPECT_EQ(viewer.ScrollPosition(), (ScrollSize{40, 46}));
    SendWindowMessage(window, kWmMButtonUp, 0, MakeWParam(60, 90));
    EXPECT_FALSE(headless::StateOf(window).captured);
    SendWindowMessage(window, kWmMouseMove, 0, MakeWParam(0, 0));
    EXPECT_EQ(viewer.ScrollPosition(), (ScrollSize{40, 46}));
    ListCloseWindow(window);
}

// Shift with the wheel, and the sideways wheel, scroll sideways by the same
// steps; with Ctrl the wheel does nothing.
TEST_F(Viewer, WheelScrollsSidewaysWithShiftOrTheSidewaysWheel)
{
    const WindowHandle window = Load(PuzzleFile(80, 80));
    const CGridlooker& viewer = ViewerOf(window);
    const auto wheel = [window](std::uint32_t message, unsigned keys, int delta) {
        SendWindowMessage(window, message, MakeWParam(keys, static_cast<unsigned>(delta)), 0);
    };
    wheel(kWmMouseWheel, kMkShift, -kWheelDelta);
    EXPECT_EQ(viewer.ScrollPosition(), (ScrollSize{36, 0}));
    wheel(kWmMouseHWheel, 0, kWheelDelta);
    EXPECT_EQ(viewer.ScrollPosition(), (ScrollSize{72, 0}));
    wheel(kWmMouseHWheel, 0, -kWheelDelta / 2);
    wheel(kWmMouseWheel, kMkShift, kWheelDelta / 2);
    EXPECT_EQ(viewer.ScrollPosition(), (ScrollSize{36, 0}));
    wheel(kWmMouseWheel, kMkControl, -kWheelDelta);
    wheel(kWmMouseHWheel, kMkControl, kWheelDelta);
    EXPECT_EQ(viewer.ScrollPosition(), (ScrollSize{36, 0}));
    for (int i = 0; i < 8; ++i)
        wheel(kWmMouseWheel, 0, -15);
    EXPECT_EQ(viewer.ScrollPosition(), (ScrollSize{36, 36}));
    ListCloseWindow(window);
}

TEST_F(Viewer, ManyViewersClosedInAnyOrderOrWithTheirHost)
{
    std::vector<WindowHandle> windows;
    for (int i = 0; i < 6; ++i)
        windows.push_back(Load(PuzzleFile(5 + i, 5)));
    ListCloseWindow(windows[3]);
    ListCloseWindow(windows[0]);
    ListCloseWindow(windows[5]);
    EXPECT_EQ(headless::WindowCount(), m_windowsBefore + 4);
    // The host destroys its window with the rest still open: they end with it.
    headless::DestroyWindow(m_parent);
    EXPECT_EQ(headless::WindowCount(), m_windowsBefore);
    m_parent = headless::CreateParentWindow(800, 600);
}

TEST_F(Viewer, WindowThatCannotBeMadeFreesTheViewerOnce)
{
    int notAWindow = 0;
    const std::string path = PuzzleFile(5, 5);
    EXPECT_EQ(ListLoad(&notAWindow, const_cast<char*>(path.c_str()), 0), nullptr);
    EXPECT_EQ(headless::WindowCount(), m_windowsBefore + 1);
}

TEST_F(Viewer, CommandsAnswerAsAnEditlessWindow)
{
    const WindowHandle window = Load(PuzzleFile(5, 5));
    const ScrollSize before = ViewerOf(window).ScrollPosition();
    EXPECT_EQ(ListSendCommand(window, 1, 0), 0);
    EXPECT_EQ(ListSendCommand(window, 3, 0), 0);
    for (const int percent : {0, 50, 100})
        EXPECT_EQ(ListSendCommand(window, 4, percent), 1);
    for (const int command : {2, 0, 5, -1})
        EXPECT_EQ(ListSendCommand(window, command, 0), 1);
    EXPECT_EQ(ViewerOf(window).ScrollPosition(), before);
    EXPECT_EQ(ListNotificationReceived(window, 0x111, MakeWParam(0, 0x400), 0), 0);
    EXPECT_EQ(ListPrint(window, nullptr, nullptr, 0, nullptr), 0);
    char detect[16] = "unchanged";
    ListGetDetectString(detect, sizeof detect);
    EXPECT_STREQ(detect, "unchanged");
    ListCloseWindow(nullptr);
    ListCloseWindow(m_parent);
    EXPECT_TRUE(headless::IsWindow(m_parent));
    ListCloseWindow(window);
}

} // namespace
