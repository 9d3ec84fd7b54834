#include "support/GridlookTool.h"

#include "support/PuzzleFiles.h"

#include <algorithm>
#include <array>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <grp.h>
#include <iterator>
#include <pwd.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// How the command's process differs from the tests': called in it before the
// command starts, and false when that could not be arranged.
using EnterProcess = bool (*)(const void* context);

bool AsItIs(const void*)
{
    return true;
}

std::string ReadAll(int handle)
{
    std::string text;
    std::array<char, 4096> buffer{};
    for (ssize_t got; (got = read(handle, buffer.data(), buffer.size())) > 0;)
        text.append(buffer.data(), static_cast<std::size_t>(got));
    return text;
}

ToolRun Run(const std::string& arguments, EnterProcess enter, const void* context)
{
    const std::string command = std::string(GRIDLOOK_EXECUTABLE) + " " + arguments;
    const std::string errFile = TestFolder() + "/stderr.txt";
    const int err = open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    std::array<int, 2> out{};
    if (err < 0 || pipe2(out.data(), O_CLOEXEC) != 0)
        return {-1, "", "cannot start " + command};
    const pid_t child = fork();
    if (child < 0)
        return {-1, "", "cannot start " + command};
    if (child == 0) {
        if (dup2(out[1], STDOUT_FILENO) >= 0 && dup2(err, STDERR_FILENO) >= 0 && enter(context))
            execl("/bin/sh", "sh", "-c", command.c_str(), nullptr);
        _exit(127);
    }
    close(out[1]);
    close(err);
    ToolRun run{};
    run.out = ReadAll(out[0]);
    close(out[0]);
    int status = 0;
    waitpid(child, &status, 0);
    run.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    run.err = FileContents(errFile);
    return run;
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
    return Run(arguments, AsItIs, nullptr);
}

ToolRun GridlookUnprivileged(const std::string& arguments)
{
    return Run(arguments, AsNobody, Nobody());
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
    return Run(arguments, WithFileLimit, &limit);
}

std::string FileContents(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::vector<std::string> FolderNames(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::ranges::sort(names);
    return names;
}
