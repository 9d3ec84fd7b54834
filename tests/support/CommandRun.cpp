#include "support/CommandRun.h"

#include "support/PuzzleFiles.h"

#include <array>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <sys/wait.h>
#include <unistd.h>

namespace {

std::string ReadAll(int handle)
{
    std::string text;
    std::array<char, 4096> buffer{};
    for (ssize_t got; (got = read(handle, buffer.data(), buffer.size())) > 0;)
        text.append(buffer.data(), static_cast<std::size_t>(got));
    return text;
}

} // namespace

std::string FileContents(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

ToolRun RunCommand(const std::string& commandLine, EnterProcess enter, const void* context)
{
    const std::string errFile = TestFolder() + "/stderr.txt";
    const int err = open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    std::array<int, 2> out{};
    if (err < 0 || pipe2(out.data(), O_CLOEXEC) != 0)
        return {-1, "", "cannot start " + commandLine};
    const pid_t child = fork();
    if (child < 0)
        return {-1, "", "cannot start " + commandLine};
    if (child == 0) {
        if (dup2(out[1], STDOUT_FILENO) >= 0 && dup2(err, STDERR_FILENO) >= 0 && (!enter || enter(context)))
            execl("/bin/sh", "sh", "-c", commandLine.c_str(), nullptr);
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
