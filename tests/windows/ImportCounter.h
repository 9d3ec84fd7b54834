#pragma once

#include <windows.h>

#include <string>

// Counts what a loaded library makes and gives back through the window and
// graphics systems, by redirecting its imports of those functions. Wine does
// not report a process's GDI and USER object counts, so this is how the test
// host sees whether every brush, pen, font, bitmap, context and window that the
// plug-in makes is also released.
namespace importcounter {

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

} // namespace importcounter
