#pragma once

#include <string>

// A program as a person runs it: output, stderr and exit status (128 and the
// signal's number for a program that a signal ended).
struct ToolRun {
    int exitStatus;
    std::string out;
    std::string err;
};

// Runs `commandLine` with the shell.
ToolRun RunCommand(const std::string& commandLine);
