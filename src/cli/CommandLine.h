#pragma once

#include "model/DisplaySettings.h"

#include <optional>
#include <string>
#include <vector>

struct CommandLine {
    enum class Command { Help, Info, Render };

    Command command = Command::Help;
    std::vector<std::string> files;
    bool json = false;
    std::string outputFile;      // render -o
    std::string outputDirectory; // render -d
    SettingsOverlay overlay;
};

// Returns the parsed command line, or nullopt with `error` set for a usage error.
std::optional<CommandLine> ParseCommandLine(const std::vector<std::string>& arguments, std::string& error);

extern const char* const kUsage;
extern const char* const kHelp;
