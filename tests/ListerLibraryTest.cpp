// The plug-in library as a host loads it: by file, with its entry points
// looked up by name.
#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cstdio>
#include <set>
#include <string>

namespace {

TEST(ListerLibrary, ExportsExactlyTheSixEntryPoints)
{
    const std::string command = "nm -D --defined-only " GRIDLOOK_HEADLESS_PLUGIN;
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::set<std::string> exported;
    char type = 0;
    char name[512];
    while (std::fscanf(pipe, "%*s %c %511s", &type, name) == 2) {
        if (type == 'T')
            exported.insert(name);
    }
    pclose(pipe);
    EXPECT_EQ(exported, (std::set<std::string>{"ListCloseWindow", "ListGetDetectString", "ListLoad",
                                               "ListNotificationReceived", "ListPrint", "ListSendCommand"}));
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
