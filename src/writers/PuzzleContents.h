#pragma once

#include "model/TessGrid.h"

#include <optional>
#include <vector>

// What a written file takes from a loaded model, the same in every format.

// The clues of one line in line order, without the empty slots. An entry
// whose length is 0 is an empty slot whatever its colour, unless it is
// crossed: a crossed slot counts as a clue, as it does for JustifyClues.
std::vector<ClueEntry> LineClues(const std::optional<ClueLists>& lists, int line);

// Whether there is a picture to write: the picture a file holds (a native
// file's, a .tgw grid, a goal), or a .pp player's marks, which its reader
// does not call a picture. A puzzle without cells has none.
bool HasPicture(const CTessGrid& puzzle);

// The number of palette entries to write: the colour count, or more when a
// clue or a cell uses an entry beyond it.
int ColoursToWrite(const CTessGrid& puzzle);

// Whether the puzzle shows in white and the user's ink as a puzzle of a format
// without colours does; a format that can leave its colours out then does.
bool ShowsUserInk(const CTessGrid& puzzle);

// "row 3", "column 12": lines counted from 1, as info counts them.
std::string LineName(bool row, int line);
