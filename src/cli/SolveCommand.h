#pragma once

#include "cli/CommandLine.h"
#include "model/TessGrid.h"
#include "solver/PuzzleSolver.h"

#include <string>

// Whether the file holds a picture, as its reader says through m_noPicture: a
// .tgw always does, a native file when its flag is 0. .tgr and .tgp files never
// do, and the picture of a .pp file is a player's marks (with "?" for cells
// not yet decided), not a solution, so its reader calls it none.
bool HoldsPicture(const CTessGrid& puzzle);

// "one solution", "no solution", "several solutions, two of them differ at
// row 2, column 5", "undecided within 10 s".
std::string AnswerText(const SolveReport& report, double maxSeconds);

// The exit status that the answer gives: 0 for exactly one solution.
int ExitStatusOf(SolveAnswer answer);

// Puts the unique solution of the clues in place of the picture, within the
// time that --max-seconds gives, and returns 0. Without exactly one solution it
// says on stderr that `what` was not done and why, and returns the exit status.
int TakeUniqueSolution(const CommandLine& line, const std::string& path, CTessGrid& puzzle, const char* what);
