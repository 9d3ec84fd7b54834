// The plug-in library as a host loads it: by file, with its entry points
// looked up by name.
#include "support/ExportedFunctions.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <string>

namespace {

TEST(ListerLibrary, ExportsExactlyTheSixEntryPoints)
{
    EXPECT_EQ(ExportedFunctions(GRIDLOOK_HEADLESS_PLUGIN), kListerEntryPoints);
}

TEST(ListerLibrary, LoadsAndAnswersByName)
{
    void* library = dlopen(GRIDLOOK_HEADLESS_PLUGIN, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    using Load = void* (*)(void*, char*, int);
    using SendCommand = int (*)(void*, int, int);
    using CloseWindow = void (*)(void*);
    const auto load = reinterpret_cast<Load>(dlsym(library, "ListLoad"));
    const auto sendCommand = reinterpret_cast<SendCommand>(dlsym(library, "ListSendCommand"));
    const auto closeWindow = reinterpret_cast<CloseWindow>(dlsym(library, "ListCloseWindow"));
    ASSERT_TRUE(load && sendCommand && closeWindow);
    char missing[] = "/nonexistent/puzzle.tgr";
    int parent = 0;
    EXPECT_EQ(load(&parent, missing, 0), nullptr);
    EXPECT_EQ(sendCommand(nullptr, 2, 0), 1);
    closeWindow(nullptr);
    dlclose(library);
}

} // namespace
