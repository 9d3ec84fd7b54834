#pragma once

#include "readers/PuzzleDraft.h"

#include <string_view>

// The public nonogram formats, read from a text already in memory. Each has a
// cheap test of whether a text is written in it, and a reader that fills a
// draft, or refuses with the reason in the draft. ReaderSelection.cpp holds
// their table and its order.

// Where a format shows itself in its first lines, its test looks no further:
// the size of a .non puzzle and the start of a .g puzzle's rows stand before
// any clue, and a text of another kind need not be read through.
inline constexpr std::size_t kFirstLines = 64 * 1024;

// The web Paint-by-Number site's XML (version 0.3).
bool LooksLikeWebpbnXml(std::string_view text);
bool ReadWebpbnXml(std::string_view text, CPuzzleDraft& draft);

// Steve Simpson's key-value text, with the colours that some collections add.
bool LooksLikeNon(std::string_view text);
bool ReadNon(std::string_view text, CPuzzleDraft& draft);

// Mirek Olšák's sectioned text, multi-colour.
bool LooksLikeOlsakG(std::string_view text);
bool ReadOlsakG(std::string_view text, CPuzzleDraft& draft);

// Olšák's plain text: height and width, rows, a "#" line, columns.
bool LooksLikeMk(std::string_view text);
bool ReadMk(std::string_view text, CPuzzleDraft& draft);

// Jakub Wilk's plain text: width and height, rows, columns.
bool LooksLikeNin(std::string_view text);
bool ReadNin(std::string_view text, CPuzzleDraft& draft);
