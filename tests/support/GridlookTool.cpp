#include "support/GridlookTool.h"

#include "support/PuzzleFiles.h"

#include <array>
#include <cstdio>
#include <sys/wait.h>

ToolRun Gridlook(const std::string& arguments)
{
    const std::string errFile = TestFolder() + "/stderr.txt";
    const std::string command = std::string(GRIDLOOK_EXECUTABLE) + " " + arguments + " 2>" + errFile;
    FILE* pipe = popen(command.c_str(), "r");
    ToolRun run{};
    std::array<char, 4096> buffer{};
    for (std::size_t got; (got = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0;)
        run.out.append(buffer.data(), got);
    run.exitStatus = WEXITSTATUS(pclose(pipe));
    FILE* err = std::fopen(errFile.c_str(), "r");
    for (std::size_t got; (got = std::fread(buffer.data(), 1, buffer.size(), err)) > 0;)
        run.err.append(buffer.data(), got);
    std::fclose(err);
    return run;
}
