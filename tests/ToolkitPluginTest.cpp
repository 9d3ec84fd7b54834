// The plug-ins for Linux lister hosts, loaded into a process that runs no
// toolkit at all, as a host of another toolkit (or another major version of
// the same) loads them: each must decline every file without reading the
// parent handle it is given. The one file for every toolkit must load no
// toolkit itself, and no plug-in but those in its own folder.
#include "support/CommandRun.h"
#include "support/ExportedFunctions.h"
#include "support/PuzzleFiles.h"
#include "support/ToolkitPlugins.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <filesystem>
#include <string>

namespace {

const std::string kFolder = GRIDLOOK_PLUGIN_FOLDER;

using Load = void* (*)(void*, char*, int);

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
    for (const ToolkitPlugin& toolkit : kToolkitPlugins)
        EXPECT_FALSE(ProcessHolds(toolkit.library)) << toolkit.library;

    int built = 0;
    for (const ToolkitPlugin& toolkit : kToolkitPlugins) {
        const std::string path = kFolder + "/" + toolkit.plugin;
        if (!std::filesystem::exists(path))
            continue;
        ++built;
        EXPECT_EQ(ExportedFunctions(path), kListerEntryPoints) << toolkit.plugin;
        const Load load = ListLoadOf(path);
        ASSERT_NE(load, nullptr) << toolkit.plugin;
        EXPECT_EQ(load(parent, puzzle.data(), 0), nullptr) << toolkit.plugin;
    }
    EXPECT_GT(built, 0);
    // Now that the process holds the toolkits, the one file asks each plug-in.
    EXPECT_EQ(loadAny(parent, puzzle.data(), 0), nullptr);
}

// The host in a process of its own, holding every toolkit built here but
// running none; its stderr and exit status (0: the file was declined).
ToolRun RunRelativeHost(const std::string& workingDirectory, const std::string& plugin, const std::string& moveTo)
{
    std::string command = "cd " + workingDirectory + " && " GRIDLOOK_RELATIVE_HOST " " + plugin + " " + moveTo +
                          " " + WriteWindowPuzzle(5, 5);
    for (const std::string& library : BuiltToolkitLibraries(kFolder))
        command += " " + library;
    return RunCommand(command);
}

// A host may name the one file relative to its working directory and move
// on before it shows the first file, or load it through a link: the toolkit
// plug-ins still come from the folder of the one file itself, never from a
// library of the same name where the host has gone or where the link is.
TEST(ToolkitLoader, TakesPluginsFromItsOwnFolderWhereverTheHostMoves)
{
    const std::string impostors = TestFolder() + "/impostors";
    std::filesystem::create_directories(impostors);
    for (const ToolkitPlugin& toolkit : kToolkitPlugins)
        std::filesystem::copy_file(GRIDLOOK_IMPOSTOR, impostors + "/" + toolkit.plugin);
    std::filesystem::create_symlink(kFolder + "/gridlook-linux.wlx", impostors + "/gridlook-linux.wlx");

    for (const std::string& from : {kFolder, impostors}) {
        const ToolRun run = RunRelativeHost(from, "./gridlook-linux.wlx", impostors);
        EXPECT_EQ(run.exitStatus, 0) << from << ": " << run.err;
        EXPECT_EQ(run.err, "") << from;
        EXPECT_FALSE(std::filesystem::exists(impostors + "/impostor-was-loaded")) << from;
    }
}

// Only the plug-in of the toolkit that a host runs is worth a word when it is
// missing; a host that merely holds toolkits hears nothing of theirs.
TEST(ToolkitLoader, SaysNothingOfMissingPluginsOfToolkitsTheHostDoesNotRun)
{
    const std::filesystem::path alone = CopyAlone(kFolder + "/gridlook-linux.wlx");
    const ToolRun run = RunRelativeHost(alone.parent_path().parent_path(),
                                        (alone.parent_path().filename() / alone.filename()).string(), "/");
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(run.err, "");
}

} // namespace
