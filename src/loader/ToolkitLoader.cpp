// The plug-in for lister hosts on Linux, whichever toolkit the host is built
// on. It needs no toolkit of its own, so that loading it changes nothing in
// the host. ListLoad finds which toolkits the host holds and offers the file
// to the plug-in built on each, loaded from this plug-in's own folder, until
// one shows it; that plug-in then answers every call for its window. A
// plug-in of a toolkit that the host does not hold is never loaded, so no host
// ever holds the libraries of another toolkit because of us.
#include "plugin/ListerPlugin.h"

#include <dlfcn.h>

#include <exception>
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

struct Toolkit {
    // What the host holds when it runs on the toolkit.
    const char* library;
    // The plug-in built on it, in this plug-in's folder.
    const char* plugin;
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
    {"libQt5Widgets.so.5", "gridlook-qt5.wlx", std::nullopt},
    {"libQt6Widgets.so.6", "gridlook-qt6.wlx", std::nullopt},
    {"libgtk-x11-2.0.so.0", "gridlook-gtk2.wlx", std::nullopt},
};

// The plug-in that made each window shown.
std::unordered_map<WindowHandle, const EntryPoints*> g_windows;

bool HostHolds(const char* library)
{
    void* const handle = dlopen(library, RTLD_LAZY | RTLD_NOLOAD);
    if (handle)
        dlclose(handle);
    return handle != nullptr;
}

// The folder of this library, as the host named it, with its final slash.
// Asked of a function that only this library can name: an exported one may
// be another library's, which the host loaded for all to see.
std::string OwnFolder()
{
    Dl_info info{};
    if (!dladdr(reinterpret_cast<void*>(&OwnFolder), &info) || !info.dli_fname)
        return "./";
    const std::string path = info.dli_fname;
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? "./" : path.substr(0, slash + 1);
}

template <typename Function>
Function Find(void* library, const char* name)
{
    return reinterpret_cast<Function>(dlsym(library, name));
}

std::optional<EntryPoints> LoadPlugin(const std::string& path)
{
    void* const library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library)
        return std::nullopt;
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
        return std::nullopt;
    }
    return entryPoints;
}

// The plug-in of a toolkit that the host holds, loaded the first time it is
// needed; none when the host does not hold the toolkit or the plug-in is missing.
const EntryPoints* PluginFor(Toolkit& toolkit)
{
    if (!toolkit.loaded && HostHolds(toolkit.library))
        toolkit.loaded = LoadPlugin(OwnFolder() + toolkit.plugin);
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
