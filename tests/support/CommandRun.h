#pragma once

#include <string>

// A program as a person runs it: output, stderr and exit status (128 and the
// signal's number for a program that a signal ended).
struct ToolRun {
    int exitStatus;
    std::string out;
    std::string err;
};

// How the program's process differs from the tests': called in it before the
// program starts, and false when that could not be arranged.
using EnterProcess = bool (*)(const void* context);

// Runs `commandLine` with the shell, in a process that `enter` prepares.
ToolRun RunCommand(const std::string& commandLine, EnterProcess enter = nullptr, const void* context = nullptr);

// The whole of a file, or nothing when it cannot be read.
std::string FileContents(const std::string& path);
