#pragma once

#include "model/TessGrid.h"

#include <string>
#include <vector>

// The bytes of a puzzle file, one function per format, for a puzzle that the
// format can hold (PuzzleFormats.h says which can). Each writes what its
// format's reader reads back as the same clues, colours and picture.

// The desktop program's own file, with the model's palette and clue lists as
// they are.
std::string WriteNativeFile(const CTessGrid& puzzle);

// .tgp clue text: counts and clues as characters offset by 48, CR LF lines.
std::string WriteTgpFile(const CTessGrid& puzzle);

// .pp clue text, with the picture after "=".
std::string WritePpFile(const CTessGrid& puzzle);

// Steve Simpson's .non text, with the colours and the goal of the large
// collections where the puzzle has them.
std::string WriteNonFile(const CTessGrid& puzzle);

// The web Paint-by-Number site's XML, version 0.3.
std::string WriteWebpbnXml(const CTessGrid& puzzle);

// Why a .tgp line cannot hold `clues`, or "" when it can: the clue value 208
// is written as the byte 0, which ends the text for the reader, and the values
// 221 and 218 side by side as a CR LF, which ends the line. Both are crossed
// clues.
std::string TgpLineProblem(const std::vector<ClueEntry>& clues);
