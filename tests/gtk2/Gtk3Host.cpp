// A lister host on GTK 3, on the display that DISPLAY names:
//
//   gridlook-gtk3-host PLUGIN PUZZLE
//
// shows a window with a GtkLayout, as a GTK 2 host gives its lister, and asks
// PLUGIN to show PUZZLE in it. GTK 3 comes in as a host's own toolkit does,
// for every library of the process to reach, but through dlopen: it needs no
// development files, only the library. Exit status: 0 declined, 1 shown, 2 the
// host itself failed (3 without GTK 3 at all).
#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>

namespace {

int Failed(const char* what, const char* why)
{
    std::fprintf(stderr, "gridlook-gtk3-host: %s: %s\n", what, why ? why : "");
    return 2;
}

template <typename Function>
Function Find(void* library, const char* name)
{
    return reinterpret_cast<Function>(dlsym(library, name));
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3)
        return Failed("usage", "gridlook-gtk3-host PLUGIN PUZZLE");
    void* const gtk = dlopen("libgtk-3.so.0", RTLD_NOW | RTLD_GLOBAL);
    if (!gtk) {
        Failed("libgtk-3.so.0", dlerror());
        return 3;
    }
    const auto initCheck = Find<int (*)(int*, char***)>(gtk, "gtk_init_check");
    const auto windowNew = Find<void* (*)(int)>(gtk, "gtk_window_new");
    const auto layoutNew = Find<void* (*)(void*, void*)>(gtk, "gtk_layout_new");
    const auto containerAdd = Find<void (*)(void*, void*)>(gtk, "gtk_container_add");
    const auto showAll = Find<void (*)(void*)>(gtk, "gtk_widget_show_all");
    if (!initCheck || !windowNew || !layoutNew || !containerAdd || !showAll)
        return Failed("libgtk-3.so.0", "a function is missing");
    if (!initCheck(nullptr, nullptr))
        return Failed("GTK 3", "no display");
    constexpr int kTopLevel = 0;
    void* const window = windowNew(kTopLevel);
    void* const lister = layoutNew(nullptr, nullptr);
    containerAdd(window, lister);
    showAll(window);

    void* const plugin = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
    if (!plugin)
        return Failed(argv[1], dlerror());
    const auto load = Find<void* (*)(void*, char*, int)>(plugin, "ListLoad");
    if (!load)
        return Failed(argv[1], dlerror());
    // GTK 3 keeps memory for as long as the process lives, and leaves it to
    // the system at exit: a sanitizer's leak check at exit would report GTK's
    // memory, not the plug-in's.
    std::_Exit(load(lister, argv[2], 0) ? 1 : 0);
}
