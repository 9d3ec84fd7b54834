#pragma once

#include <string>

// The gridlook command as a user runs it: output, stderr and exit status.
struct ToolRun {
    int exitStatus;
    std::string out;
    std::string err;
};

ToolRun Gridlook(const std::string& arguments);
