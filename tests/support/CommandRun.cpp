#include "support/CommandRun.h"

#include "support/PuzzleFiles.h"

#include <array>
#include <cstdio>
#include <sys/wait.h>

ToolRun RunCommand(const std::string& commandLine)
{
    const std::string errFile = TestFolder() + "/stderr.txt";
    FILE* pipe = popen((commandLine + " 2>" + errFile).c_str(), "r");
    ToolRun run{};
    std::array<char, 4096> buffer{};
    for (std::size_t got; (got = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0;)
        run.out.append(buffer.data(), got);
    const int status = pclose(pipe);
    run.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    FILE* err = std::fopen(errFile.c_str(), "r");
    for (std::size_t got; (got = std::fread(buffer.data(), 1, buffer.size(), err)) > 0;)
        run.err.append(buffer.data(), got);
    std::fclose(err);
    return run;
}
