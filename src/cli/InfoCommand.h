#pragma once

#include "model/TessGrid.h"

#include <string>

// A few lines for a person: size, colours, clue lists, the picture as characters.
std::string DescribePuzzle(const std::string& path, const CTessGrid& puzzle);

// One line of JSON naming the file, with every member of the model; only the
// file and the status when it did not load.
std::string PuzzleJson(const std::string& path, CTessGrid& puzzle);
