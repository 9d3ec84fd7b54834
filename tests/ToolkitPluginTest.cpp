// The plug-ins for Linux lister hosts, loaded into a process that runs no
// toolkit at all, as a host of another toolkit (or another major version of
// the same) loads them: each must decline every file without reading the
// parent handle it is given. The one file for every toolkit must load no
// toolkit itself.
#include "support/ExportedFunctions.h"
#include "support/PuzzleFiles.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <filesystem>
#include <string>

namespace {

const std::string kFolder = GRIDLOOK_PLUGIN_FOLDER;
constexpr const char* kToolkitPlugins[] = {"gridlook-gtk2.wlx", "gridlook-qt5.wlx", "gridlook-qt6.wlx"};
constexpr const char* kToolkitLibraries[] = {"libgtk-x11-2.0.so.0", "libQt5Widgets.so.5", "libQt6Widgets.so.6"};

using Load = void* (*)(void*, char*, int);

bool ProcessHolds(const char* library)
{
    void* const handle = dlopen(library, RTLD_LAZY | RTLD_NOLOAD);
    if (handle)
        dlclose(handle);
    return handle != nullptr;
}

// The plug-in's ListLoad. Toolkit plug-ins stay loaded, as they do in a
// host: toolkits are not made to be unloaded.
Load ListLoadOf(const std::string& path)
{
    void* const library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    EXPECT_NE(library, nullptr) << dlerror();
    return library ? reinterpret_cast<Load>(dlsym(library, "ListLoad")) : nullptr;
}

TEST(ToolkitPlugins, EveryPluginDeclinesWhereItsToolkitDoesNotRun)
{
    std::string puzzle = WriteWindowPuzzle(5, 5);
    // Read as a widget, this would take the process down.
    long parent[64] = {};

    const std::string oneFile = kFolder + "/gridlook-linux.wlx";
    EXPECT_EQ(ExportedFunctions(oneFile), kListerEntryPoints);
    const Load loadAny = ListLoadOf(oneFile);
    ASSERT_NE(loadAny, nullptr);
    EXPECT_EQ(loadAny(parent, puzzle.data(), 0), nullptr);
    for (const char* library : kToolkitLibraries)
        EXPECT_FALSE(ProcessHolds(library)) << library;

    int built = 0;
    for (const char* name : kToolkitPlugins) {
        const std::string path = kFolder + "/" + name;
        if (!std::filesystem::exists(path))
            continue;
        ++built;
        EXPECT_EQ(ExportedFunctions(path), kListerEntryPoints) << name;
        const Load load = ListLoadOf(path);
        ASSERT_NE(load, nullptr) << name;
        EXPECT_EQ(load(parent, puzzle.data(), 0), nullptr) << name;
    }
    EXPECT_GT(built, 0);
    // Now that the process holds the toolkits, the one file asks each plug-in.
    EXPECT_EQ(loadAny(parent, puzzle.data(), 0), nullptr);
}

} // namespace
