#pragma once

#include "model/TessGrid.h"

#include <string>

// A few lines for a person: size, colours, clue lists, the picture as characters.
std::string DescribePuzzle(const std::string& path, const CTessGrid& puzzle);

// One line of JSON with every member of the model; only the status when the
// file did not load.
std::string PuzzleJson(CTessGrid& puzzle);

// A picture as JSON: an array of rows, each an array of cell values.
std::string JsonPicture(const Picture& picture);
