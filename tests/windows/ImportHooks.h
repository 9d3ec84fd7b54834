#pragma once

#include <windows.h>

#include <string>

// Redirects a loaded library's imports of window, graphics and heap
// functions, to see and to steer what the plug-in does:
// - it counts what the plug-in makes and gives back (Wine does not report a
//   process's GDI and USER object counts), so that the host sees whether every
//   brush, pen, font, bitmap, context and window is also released;
// - it fills every heap block the plug-in frees with 0xDD first, and counts
//   default processing asked for windows that do not exist, so that a use of a
//   freed object shows instead of reading what happens to be left there;
// - it can pretend a smaller primary screen than the real one, and refuse
//   bitmaps, as a host's machine may.
namespace importhooks {

struct WindowCreation {
    std::string className;
    std::string windowName;
    DWORD style = 0;
};

bool Install(HMODULE library);
// The arguments of the plug-in's latest CreateWindowExA.
const WindowCreation& LastWindowCreation();
// Objects made and not yet released, by kind; empty when none is left.
std::string Outstanding();
long Made();
// DefWindowProcA calls for a window handle that is no window.
long DefaultProcessingOfNoWindow();

// The primary screen's size as the plug-in sees it; 0 x 0 for the real one.
void PretendScreenSize(int width, int height);
void RefuseBitmaps(bool refuse);

} // namespace importhooks
