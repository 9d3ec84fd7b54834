#pragma once

#include "model/DisplaySettings.h"
#include "writers/PuzzleFormats.h"

#include <optional>
#include <string>
#include <vector>

struct CommandLine {
    enum class Command { Help, Info, Render, Solve, Thumbnail, Convert };

    Command command = Command::Help;
    std::vector<std::string> files;
    bool json = false;
    std::string outputFile;      // render and convert -o, and the PNG that thumbnail writes
    std::string outputDirectory; // render and convert -d
    int thumbnailSize = 0;       // thumbnail -s
    SettingsOverlay overlay;
    bool blank = false;          // render --blank
    bool solution = false;       // render and convert --solution
    std::optional<double> maxSeconds; // solve, render and convert --solution
    std::optional<PuzzleFormat> format; // convert: --to, or the -o name's
    unsigned drops = 0;          // convert --drop, DropItem bits

    // The time a person waiting would give one puzzle, unless told otherwise.
    double SolveSeconds() const { return maxSeconds.value_or(10.0); }
};

// Returns the parsed command line, or nullopt with `error` set for a usage error.
std::optional<CommandLine> ParseCommandLine(const std::vector<std::string>& arguments, std::string& error);

// The largest thumbnail asked for: the desktop's largest size, "xx-large".
inline constexpr int kMaxThumbnailSize = 1024;

extern const char* const kUsage;
extern const char* const kHelp;
