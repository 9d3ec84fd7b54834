#pragma once

#include "Summary.h"

#include <string>

// The solver where it is hard: the puzzles of the web Paint-by-Number survey
// (webpbn.com/survey) that solvers are compared on, with the goals of the
// solver issue; random clue-only puzzles; how far an answer overruns the time
// limit; and the memory of the largest puzzles. Times are the wall clock, for
// the search and the back end run side by side, with the process's CPU time
// (both threads) beside them.
//
// The survey's puzzles may not be redistributed, except Knot and Skid
// (bench/puzzles): `surveyFolder` (--survey=DIR) holds the others, each named
// by its webpbn number as webpbn.com or the survey's set names it (6574.xml,
// webpbn-06574.xml), in any format the readers take (docs/performance.md). A
// puzzle not there is left out. Empty for none.
void RunSolverSurvey(const std::string& surveyFolder, CGoalTally& tally);
