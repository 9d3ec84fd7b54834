#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Redirects a loaded library's imports of window, graphics and heap
// functions, to see and to steer what the plug-in does:
// - it counts what the plug-in makes and gives back (Wine does not report a
//   process's GDI and USER object counts), so that the host sees whether every
//   brush, pen, font, bitmap, context and window is also released;
// - it fills every heap block the plug-in frees with 0xDD first, and counts
//   default processing asked for windows that do not exist, so that a use of a
//   freed object shows instead of reading what happens to be left there;
// - it keeps the size of every bitmap the plug-in asks for, so that the host
//   sees whether the plug-in keeps to its limit whatever the screen;
// - it can pretend a primary screen of another size than the real one, and
//   refuse bitmaps, as a host's machine may.
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

// Every bitmap the plug-in asked for, in order, refused or not.
const std::vector<SIZE>& BitmapsAsked();

// The primary screen's size as the plug-in sees it; 0 x 0 for the real one.
void PretendScreenSize(int width, int height);
void RefuseBitmaps(bool refuse);

} // namespace importhooks
