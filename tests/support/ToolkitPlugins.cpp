#include "support/ToolkitPlugins.h"

#include "support/PuzzleFiles.h"

#include <dlfcn.h>

#include <filesystem>

bool ProcessHolds(const char* library)
{
    void* const handle = dlopen(library, RTLD_LAZY | RTLD_NOLOAD);
    if (handle)
        dlclose(handle);
    return handle != nullptr;
}

std::vector<std::string> BuiltToolkitLibraries(const std::string& folder)
{
    std::vector<std::string> libraries;
    for (const ToolkitPlugin& toolkit : kToolkitPlugins) {
        if (std::filesystem::exists(folder + "/" + toolkit.plugin))
            libraries.emplace_back(toolkit.library);
    }
    return libraries;
}

void HoldBuiltToolkits(const std::string& folder)
{
    for (const std::string& library : BuiltToolkitLibraries(folder))
        dlopen(library.c_str(), RTLD_LAZY | RTLD_LOCAL);
}

std::string CopyAlone(const std::string& file)
{
    static int counter = 0;
    const std::filesystem::path folder =
        std::filesystem::canonical(TestFolder()) / ("alone" + std::to_string(++counter));
    std::filesystem::create_directories(folder);
    const std::filesystem::path copy = folder / std::filesystem::path(file).filename();
    std::filesystem::copy_file(file, copy);
    return copy.string();
}
