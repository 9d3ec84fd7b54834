#pragma once

#include <string>
#include <vector>

// The plug-in built on each Linux toolkit, and the library that a host on
// that toolkit holds.
struct ToolkitPlugin {
    const char* plugin;
    const char* library;
};

inline constexpr ToolkitPlugin kToolkitPlugins[] = {
    {"gridlook-gtk2.wlx", "libgtk-x11-2.0.so.0"},
    {"gridlook-qt5.wlx", "libQt5Widgets.so.5"},
    {"gridlook-qt6.wlx", "libQt6Widgets.so.6"},
};

bool ProcessHolds(const char* library);

// The libraries of the toolkits whose plug-ins were built into `folder`.
std::vector<std::string> BuiltToolkitLibraries(const std::string& folder);

// Loads them into this process, as plug-ins of other toolkits bring them to a
// host; they stay, as toolkits are not made to be unloaded.
void HoldBuiltToolkits(const std::string& folder);

// A copy of `file` alone in a new folder of the test run, by its canonical path.
std::string CopyAlone(const std::string& file);
