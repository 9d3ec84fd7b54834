#pragma once

#include "model/TessGrid.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The formats that Gridlook writes, what each can hold, and the rules by which
// a puzzle that a format cannot hold is refused rather than written in part.

enum class PuzzleFormat { Native, Tgp, Pp, Non, WebpbnXml };

// What a puzzle may be written without, when the person says so.
enum DropItem : unsigned {
    kDropPicture = 1,
    kDropCrossed = 2,
    kDropMarks = 4,
    // The puzzles of a set after the first.
    kDropOthers = 8,
};

// The format a name asks for ("native", "tgp", "pp", "non", "xml").
std::optional<PuzzleFormat> FormatNamed(std::string_view name);

// The format that an output file's name asks for, by its extension: .tgp,
// .pp/.ppc/.pps, .non and .xml; any other name a native file, which the
// readers find by its contents. Nothing for an extension of a format that
// Gridlook reads but does not write (.tgr, .tgw, .nin, .g, .mk): such a file
// would be read as that format, or taken for one.
std::optional<PuzzleFormat> FormatOfFileName(const std::string& path);

// The extension of the files that convert names after their puzzle, dot included.
std::string_view ExtensionOf(PuzzleFormat format);

// "a native file", "a .pp file", "webpbn XML", for messages.
std::string_view DescriptionOf(PuzzleFormat format);

// The items of a --drop list such as "picture,crossed"; nothing for a list
// with an unknown item.
std::optional<unsigned> DropItemsNamed(std::string_view list);

// Why `puzzle` cannot be written as `format` once `drops` are left out: one
// reason for each kind of thing it holds and the format cannot, naming the
// --drop item that leaves it out where there is one. Empty when it can.
std::vector<std::string> WhatCannotBeWritten(const CTessGrid& puzzle, PuzzleFormat format, unsigned drops);

// Leaves out of the puzzle what `drops` names: the picture, the crossed flags
// (a crossed slot without a length becomes empty), the marks of cells known to
// be empty, the other puzzles of a set.
void DropFromPuzzle(CTessGrid& puzzle, unsigned drops);

// The file's bytes, for a puzzle that WhatCannotBeWritten has no reason against.
std::string WritePuzzle(const CTessGrid& puzzle, PuzzleFormat format);
