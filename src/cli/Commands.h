#pragma once

#include "cli/CommandLine.h"
#include "model/TessGrid.h"

// Each returns the exit status of the command.
int RunInfo(const CommandLine& line);
int RunRender(const CommandLine& line);
int RunThumbnail(const CommandLine& line);
int RunSolve(const CommandLine& line);
int RunConvert(const CommandLine& line);

// One line on stderr naming the file and why it did not load.
void ReportLoadFailure(const std::string& path, const CTessGrid& puzzle);
void ReportFailure(const std::string& path, const std::string& reason);

// Exit status when a picture or a converted file could not be made or written.
inline constexpr int kPictureFailed = 1;
// Exit statuses of solving: the clues have no solution or several; the time
// limit came before an answer.
inline constexpr int kNotUnique = 5;
inline constexpr int kUndecided = 6;
