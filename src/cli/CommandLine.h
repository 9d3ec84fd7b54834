#pragma once

#include "model/DisplaySettings.h"

#include <optional>
#include <string>
#include <vector>

struct CommandLine {
    enum class Command { Help, Info, Render, Solve, Thumbnail };

    Command command = Command::Help;
    std::vector<std::string> files;
    bool json = false;
    std::string outputFile;      // render -o, and the PNG that thumbnail writes
    std::string outputDirectory; // render -d
    int thumbnailSize = 0;       // thumbnail -s
    SettingsOverlay overlay;
    bool blank = false;          // render --blank
    bool solution = false;       // render --solution
    std::optional<double> maxSeconds; // solve, render --solution

    // The time a person waiting would give one puzzle, unless told otherwise.
    double SolveSeconds() const { return maxSeconds.value_or(10.0); }
};

// Returns the parsed command line, or nullopt with `error` set for a usage error.
std::optional<CommandLine> ParseCommandLine(const std::vector<std::string>& arguments, std::string& error);

// The largest thumbnail asked for: the desktop's largest size, "xx-large".
inline constexpr int kMaxThumbnailSize = 1024;

extern const char* const kUsage;
extern const char* const kHelp;
