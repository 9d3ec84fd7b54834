#pragma once

#include "platform/posix/RasterSurface.h"
#include "viewer/WindowGlue.h"

#include <functional>
#include <vector>

// A window system that lives in memory, for tests: windows with a client
// area, synchronous messages, scroll bars 17 pixels thick, and a paint that
// draws the client area into a raster picture.
// Windows without a view (the host's parent windows) keep the messages they
// receive.
namespace headless {

struct Message {
    std::uint32_t message;
    WParam wParam;
    LParam lParam;
};

struct WindowState {
    WindowHandle parent = nullptr;
    ScrollSize clientWithoutBars;
    bool visible = false;
    bool horizontalBar = false;
    bool verticalBar = false;
    bool arrowCursor = false;
    bool captured = false;
    int invalidations = 0;
};

inline constexpr int kScrollBarThickness = 17;

WindowHandle CreateParentWindow(int width, int height);
// What a parent window does with each message it receives, after keeping it:
// a host may act on it, even by closing the viewer that sent it.
void SetMessageHandler(WindowHandle window, std::function<void(const Message&)> handler);
void DestroyWindow(WindowHandle window);
bool IsWindow(WindowHandle window);
std::size_t WindowCount();

// A parent's new size; its children cover its client area, as the host keeps them.
void ResizeWindow(WindowHandle window, int width, int height);
// The client area as a paint draws it.
RasterBitmap PaintWindow(WindowHandle window);
// While set, every bitmap asked for is refused, as a system short of memory
// refuses it.
void RefuseBitmaps(bool refuse);

const WindowState& StateOf(WindowHandle window);
const std::vector<Message>& MessagesOf(WindowHandle window);

} // namespace headless
