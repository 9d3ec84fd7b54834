#pragma once

#include "model/TessGrid.h"

#include <string>

// Text from a file (or a file's name) on one line of the terminal: control
// characters, which could move the cursor or change the terminal's state,
// become spaces.
std::string OneLine(const std::string& text);

// A few lines for a person: size, colours, clue lists, the picture as characters.
std::string DescribePuzzle(const std::string& path, const CTessGrid& puzzle);

// One line of JSON naming the file, with every member of the model; only the
// file and the status when it did not load.
std::string PuzzleJson(const std::string& path, CTessGrid& puzzle);
