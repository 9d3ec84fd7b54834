#pragma once

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
