// A lister host that names the plug-in relative to its working directory and
// then moves elsewhere before it shows a file, as a file manager may:
//
//   gridlook-relative-host PLUGIN FOLDER PUZZLE [LIBRARY...]
//
// holds each LIBRARY (a toolkit's, so that the one file for every toolkit
// looks for that toolkit's plug-in), loads PLUGIN by the name given, changes
// into FOLDER and asks the plug-in to show PUZZLE. Exit status: 0 declined,
// 1 shown, 2 the host itself failed.
#include <dlfcn.h>
#include <unistd.h>

#include <cstdio>

namespace {

int Failed(const char* what, const char* why)
{
    std::fprintf(stderr, "gridlook-relative-host: %s: %s\n", what, why ? why : "");
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 4)
        return Failed("usage", "gridlook-relative-host PLUGIN FOLDER PUZZLE [LIBRARY...]");
    for (int i = 4; i < argc; ++i) {
        if (!dlopen(argv[i], RTLD_LAZY | RTLD_LOCAL))
            return Failed(argv[i], dlerror());
    }
    void* const plugin = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
    if (!plugin)
        return Failed(argv[1], dlerror());
    using Load = void* (*)(void*, char*, int);
    const auto load = reinterpret_cast<Load>(dlsym(plugin, "ListLoad"));
    if (!load)
        return Failed(argv[1], dlerror());
    if (chdir(argv[2]) != 0)
        return Failed(argv[2], "cannot change into it");
    // No toolkit runs here: read as a widget, this would take the host down.
    long parent[64] = {};
    return load(parent, argv[3], 0) ? 1 : 0;
}
