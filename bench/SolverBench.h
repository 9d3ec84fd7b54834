#pragma once

#include "Summary.h"

#include "solver/PuzzleSolver.h"

#include <map>
#include <string>

// The solver's line logic: on a typical 30 x 30 puzzle, and deciding a
// line-solvable 255 x 255 puzzle, which is written into `folder`. The hard
// puzzles are SurveyBench's.
void RegisterSolverBenchmarks(const std::string& folder);

void PrintSolverGoals(const std::map<std::string, double>& medians, CGoalTally& tally);
// The answer, and what gave it: "unique, back end after line logic knew 52
// of 625 cells".
std::string Describe(const SolveReport& report);
