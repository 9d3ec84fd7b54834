// The plug-in for lister hosts on Linux, whichever toolkit the host is built
// on. It needs no toolkit of its own, so that loading it changes nothing in
// the host. ListLoad finds which toolkits the host holds and offers the file
// to the plug-in built on each, loaded from this plug-in's own folder, until
// one shows it; that plug-in then answers every call for its window. A
// plug-in of a toolkit that the host does not hold is never loaded, so no host
// ever holds the libraries of another toolkit because of us.
#include "plugin/ListerPlugin.h"

#include <dlfcn.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <filesystem>
#include <optional>
#include <string>
#include <unordered_map>

namespace {

struct EntryPoints {
    decltype(&ListLoad) load;
    decltype(&ListCloseWindow) closeWindow;
    decltype(&ListGetDetectString) getDetectString;
    decltype(&ListSendCommand) sendCommand;
    decltype(&ListPrint) print;
    decltype(&ListNotificationReceived) notificationReceived;
};

template <typename Function>
Function Find(void* library, const char* name)
{
    return reinterpret_cast<Function>(dlsym(library, name));
}

// A Qt application of the major version whose core library is `core` has
// been made and has not ended. Qt's symbols carry their major version, so the
// other major's Qt, in the same process, does not answer for it.
bool QtApplicationRuns(const char* core)
{
    void* const library = dlopen(core, RTLD_LAZY | RTLD_NOLOAD);
    if (!library)
        return false;
    const auto startingUp = Find<bool (*)()>(library, "_ZN16QCoreApplication10startingUpEv");
    const auto closingDown = Find<bool (*)()>(library, "_ZN16QCoreApplication11closingDownEv");
    const bool runs = startingUp && closingDown && !startingUp() && !closingDown();
    dlclose(library);
    return runs;
}

bool Qt5Runs()
{
    return QtApplicationRuns("libQt5Core.so.5");
}

bool Qt6Runs()
{
    return QtApplicationRuns("libQt6Core.so.6");
}

// The process's own GTK comes first in the global symbol scope, ahead of any
// GTK that a plug-in brought with it: the process runs GTK 2 when that GTK is
// GTK 2 and has opened its display. A GTK that a Qt host holds for its looks
// is not in that scope.
bool Gtk2Runs()
{
    const auto checkVersion =
        Find<const char* (*)(unsigned, unsigned, unsigned)>(RTLD_DEFAULT, "gtk_check_version");
    const auto defaultDisplay = Find<void* (*)()>(RTLD_DEFAULT, "gdk_display_get_default");
    return checkVersion && defaultDisplay && !checkVersion(2, 0, 0) && defaultDisplay();
}

struct Toolkit {
    // As a person knows it.
    const char* name;
    // What the host holds when it runs on the toolkit.
    const char* library;
    // The plug-in built on it, in this plug-in's folder.
    const char* plugin;
    // Whether the process runs the toolkit, rather than merely holding it.
    bool (*runs)();
    // Its entry points, once loaded. A plug-in stays loaded for as long as
    // the process lives: toolkits are not made to be unloaded.
    std::optional<EntryPoints> loaded;
};

// A host may hold a toolkit that it does not run on: a Qt host may hold GTK
// for its looks (a platform theme), and any host may hold what another
// plug-in brought. Each plug-in declines a file in a host that does not run
// its toolkit, so the next is asked. The order only saves loading: Qt hosts
// hold GTK more often than GTK hosts hold Qt.
Toolkit g_toolkits[] = {
    {"Qt 5", "libQt5Widgets.so.5", "gridlook-qt5.wlx", Qt5Runs, std::nullopt},
    {"Qt 6", "libQt6Widgets.so.6", "gridlook-qt6.wlx", Qt6Runs, std::nullopt},
    {"GTK 2", "libgtk-x11-2.0.so.0", "gridlook-gtk2.wlx", Gtk2Runs, std::nullopt},
};

// The plug-in that made each window shown.
std::unordered_map<WindowHandle, const EntryPoints*> g_windows;

// Said at most once: that the plug-in of the toolkit the process runs did not load.
bool g_toldOfMissingPlugin = false;

// The folder of this library's file, absolute and canonical, with its final
// slash; empty when it cannot be told. Asked of a function that only this
// library can name: an exported one may be another library's, which the host
// loaded for all to see.
std::string CanonicalOwnFolder()
{
    Dl_info info{};
    if (!dladdr(reinterpret_cast<void*>(&CanonicalOwnFolder), &info) || !info.dli_fname)
        return {};
    char path[PATH_MAX];
    if (!realpath(info.dli_fname, path))
        return {};
    // A canonical path is absolute: it has a slash before the file's name.
    std::strrchr(path, '/')[1] = '\0';
    return path;
}

// Found while the host loads this library, before it can change its working
// directory: the host may have named the library relative to it, and that
// name would later lead into whatever folder the host has moved to.
const std::string g_ownFolder = CanonicalOwnFolder();

bool HostHolds(const char* library)
{
    void* const handle = dlopen(library, RTLD_LAZY | RTLD_NOLOAD);
    if (handle)
        dlclose(handle);
    return handle != nullptr;
}

// The plug-in at `path`, a full path, which the loader never searches for;
// none, with why in `failure`, when it does not load.
std::optional<EntryPoints> LoadPlugin(const std::string& path, std::string& failure)
{
    void* const library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        const char* error = dlerror();
        std::error_code ignored;
        failure = std::filesystem::exists(path, ignored) ? std::string("does not load: ") + (error ? error : "")
                                                           : std::string("is missing");
        return std::nullopt;
    }
    const EntryPoints entryPoints{
        Find<decltype(&ListLoad)>(library, "ListLoad"),
        Find<decltype(&ListCloseWindow)>(library, "ListCloseWindow"),
        Find<decltype(&ListGetDetectString)>(library, "ListGetDetectString"),
        Find<decltype(&ListSendCommand)>(library, "ListSendCommand"),
        Find<decltype(&ListPrint)>(library, "ListPrint"),
        Find<decltype(&ListNotificationReceived)>(library, "ListNotificationReceived"),
    };
    if (!entryPoints.load || !entryPoints.closeWindow || !entryPoints.getDetectString || !entryPoints.sendCommand ||
        !entryPoints.print || !entryPoints.notificationReceived) {
        dlclose(library);
        failure = "is no lister plug-in";
        return std::nullopt;
    }
    return entryPoints;
}

// Without the plug-in of its toolkit the host gets no window for any file, and
// shows its own viewer: a person looking for the reason finds it on stderr.
void TellOfMissingPlugin(const Toolkit& toolkit, const std::string& path, const std::string& failure)
{
    if (g_toldOfMissingPlugin || !toolkit.runs())
        return;
    g_toldOfMissingPlugin = true;
    std::fprintf(stderr, "gridlook-linux.wlx: this process runs %s, but its plug-in %s %s\n", toolkit.name,
                 path.c_str(), failure.c_str());
}

// The plug-in of a toolkit that the host holds, loaded the first time it is
// needed; none when the host does not hold the toolkit or the plug-in does
// not load.
const EntryPoints* PluginFor(Toolkit& toolkit)
{
    if (!toolkit.loaded && HostHolds(toolkit.library)) {
        const std::string path = g_ownFolder + toolkit.plugin;
        std::string failure = "cannot be found: the folder of gridlook-linux.wlx is unknown";
        if (!g_ownFolder.empty())
            toolkit.loaded = LoadPlugin(path, failure);
        if (!toolkit.loaded)
            TellOfMissingPlugin(toolkit, path, failure);
    }
    return toolkit.loaded ? &*toolkit.loaded : nullptr;
}

const EntryPoints* PluginOf(WindowHandle window)
{
    const auto found = g_windows.find(window);
    return found == g_windows.end() ? nullptr : found->second;
}

} // namespace

extern "C" {

WindowHandle GRIDLOOK_CALL ListLoad(WindowHandle parentWin, char* fileToLoad, int showFlags)
{
    try {
        for (Toolkit& toolkit : g_toolkits) {
            const EntryPoints* plugin = PluginFor(toolkit);
            if (WindowHandle window = plugin ? plugin->load(parentWin, fileToLoad, showFlags) : nullptr) {
                g_windows[window] = plugin;
                return window;
            }
        }
    } catch (const std::exception&) {
    }
    return nullptr;
}

void GRIDLOOK_CALL ListCloseWindow(WindowHandle listWin)
{
    if (const EntryPoints* plugin = PluginOf(listWin)) {
        g_windows.erase(listWin);
        plugin->closeWindow(listWin);
    }
}

// None of the plug-ins has a detect string: each is offered every file.
void GRIDLOOK_CALL ListGetDetectString(char*, int) {}

// A window that is not ours has nothing to answer with.
int GRIDLOOK_CALL ListSendCommand(WindowHandle listWin, int command, int parameter)
{
    constexpr int kNotDone = 1;
    const EntryPoints* plugin = PluginOf(listWin);
    return plugin ? plugin->sendCommand(listWin, command, parameter) : kNotDone;
}

int GRIDLOOK_CALL ListPrint(WindowHandle listWin, char* fileToPrint, char* defPrinter, int printFlags, void* margins)
{
    const EntryPoints* plugin = PluginOf(listWin);
    return plugin ? plugin->print(listWin, fileToPrint, defPrinter, printFlags, margins) : 0;
}

int GRIDLOOK_CALL ListNotificationReceived(WindowHandle listWin, int message, WParam wParam, LParam lParam)
{
    const EntryPoints* plugin = PluginOf(listWin);
    return plugin ? plugin->notificationReceived(listWin, message, wParam, lParam) : 0;
}

} // extern "C"
