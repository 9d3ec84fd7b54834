#include "support/GridlookTool.h"

#include "support/PuzzleFiles.h"

#include <algorithm>
#include <filesystem>
#include <grp.h>
#include <pwd.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string GridlookCommand(const std::string& arguments)
{
    return std::string(GRIDLOOK_EXECUTABLE) + " " + arguments;
}

const passwd* Nobody()
{
    return geteuid() == 0 ? getpwnam("nobody") : nullptr;
}

bool AsNobody(const void* context)
{
    const auto* nobody = static_cast<const passwd*>(context);
    return !nobody ||
           (setgroups(0, nullptr) == 0 && setgid(nobody->pw_gid) == 0 && setuid(nobody->pw_uid) == 0);
}

bool WithFileLimit(const void* context)
{
    const rlim_t bytes = *static_cast<const rlim_t*>(context);
    const rlimit limit{bytes, bytes};
    return setrlimit(RLIMIT_FSIZE, &limit) == 0;
}

} // namespace

ToolRun Gridlook(const std::string& arguments)
{
    return RunCommand(GridlookCommand(arguments));
}

ToolRun GridlookUnprivileged(const std::string& arguments)
{
    return RunCommand(GridlookCommand(arguments), AsNobody, Nobody());
}

bool GiveToUnprivileged(const std::string& path)
{
    // Nobody may pass through the tests' folder to the paths it is given.
    const passwd* nobody = Nobody();
    return chmod(TestFolder().c_str(), 0711) == 0 &&
           (!nobody || lchown(path.c_str(), nobody->pw_uid, nobody->pw_gid) == 0);
}

ToolRun GridlookWithFileLimit(const std::string& arguments, std::size_t bytes)
{
    const rlim_t limit = bytes;
    return RunCommand(GridlookCommand(arguments), WithFileLimit, &limit);
}

std::vector<std::string> FolderNames(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::ranges::sort(names);
    return names;
}
