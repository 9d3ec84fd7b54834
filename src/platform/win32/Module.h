#pragma once

#include <windows.h>

// The plug-in library's own module, for its resources and its window class.
HMODULE PluginModule();
