#pragma once

#include "Summary.h"

#include <map>
#include <string>

// The solver: line logic on a typical 30 x 30 puzzle, deciding a line-solvable
// 255 x 255 puzzle, and the named puzzles under bench/puzzles, among them
// well-known hard ones of the web Paint-by-Number collection. The 255 x 255
// puzzle is written into `folder`.
void RegisterSolverBenchmarks(const std::string& folder);

void PrintSolverGoals(const std::map<std::string, double>& medians, CGoalTally& tally);
// Each named puzzle's time and answer.
void PrintSolverFigures(const std::map<std::string, double>& medians);
