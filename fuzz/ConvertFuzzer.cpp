// Loads any input with any reader and writes what loaded in every format
// that holds it, once the items that the second byte names are dropped. The
// first byte chooses the reader; the rest is the file. What each format's
// reader reads back must be the written puzzle: its clues and picture, its
// palette in the formats with colours, and a native file's every byte of the
// model.
#include "FuzzInput.h"
#include "writers/PuzzleContents.h"
#include "writers/PuzzleFormats.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr const char* kExtensions[] = {".tessa", ".tgr", ".tgw", ".tgp", ".pp", ".xml", ".non", ".g", ".mk", ".nin"};
constexpr int kSkipInput = -1;

struct Target {
    PuzzleFormat format;
    const char* extension;
    bool colours;
};
constexpr Target kTargets[] = {{PuzzleFormat::Native, ".tessa", true},
                               {PuzzleFormat::Tgp, ".tgp", false},
                               {PuzzleFormat::Pp, ".pp", false},
                               {PuzzleFormat::Non, ".non", true},
                               {PuzzleFormat::WebpbnXml, ".xml", true}};

void Require(bool holds, const char* promise)
{
    if (holds)
        return;
    std::fprintf(stderr, "The conversion broke a promise: %s\n", promise);
    std::abort();
}

bool SameClues(const CTessGrid& a, const CTessGrid& b)
{
    for (int column = 0; column < a.m_width; ++column) {
        if (LineClues(a.m_columnClues, column) != LineClues(b.m_columnClues, column))
            return false;
    }
    for (int row = 0; row < a.m_height; ++row) {
        if (LineClues(a.m_rowClues, row) != LineClues(b.m_rowClues, row))
            return false;
    }
    return true;
}

bool SamePalette(const CTessGrid& a, const CTessGrid& b)
{
    const int count = ColoursToWrite(a);
    return count == ColoursToWrite(b) && std::equal(a.m_palette, a.m_palette + count, b.m_palette,
                                                    [](Colour x, Colour y) { return RgbOf(x) == RgbOf(y); });
}

bool SameLists(const std::optional<ClueLists>& a, const std::optional<ClueLists>& b)
{
    if (!a || !b)
        return !a && !b;
    return a->LineLength() == b->LineLength() && std::ranges::equal(a->Items(), b->Items());
}

// A native file holds the model itself.
bool SameModel(const CTessGrid& a, const CTessGrid& b)
{
    return a.m_colourCount == b.m_colourCount && std::equal(a.m_palette, a.m_palette + kPaletteSize, b.m_palette) &&
           SameLists(a.m_columnClues, b.m_columnClues) && SameLists(a.m_rowClues, b.m_rowClues);
}

void CheckWritten(const CTessGrid& puzzle, const Target& target)
{
    const std::string bytes = WritePuzzle(puzzle, target.format);
    const std::string path =
        WriteInputFile(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), target.extension);
    const CTessGrid read(path);
    CheckLoad(read, path);
    Require(read.m_status == LoadOk, "what was written loads");
    Require(read.m_width == puzzle.m_width && read.m_height == puzzle.m_height, "the size is the puzzle's");
    Require(SameClues(puzzle, read), "the clues are the puzzle's");
    Require(std::ranges::equal(puzzle.m_picture->Items(), read.m_picture->Items()), "the picture is the puzzle's");
    Require(!target.colours || SamePalette(puzzle, read), "a format with colours keeps the palette");
    Require(target.format != PuzzleFormat::Native || SameModel(puzzle, read), "a native file keeps the model");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    PrepareFuzzFolder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return kSkipInput;
    const unsigned drops = data[1] & (kDropPicture | kDropCrossed | kDropMarks | kDropOthers);
    const std::string path = WriteInputFile(data + 2, size - 2, kExtensions[data[0] % std::size(kExtensions)]);
    CTessGrid puzzle(path);
    CheckLoad(puzzle, path);
    if (puzzle.m_status != LoadOk)
        return 0;
    std::vector<const Target*> holders;
    for (const Target& target : kTargets) {
        if (WhatCannotBeWritten(puzzle, target.format, drops).empty())
            holders.push_back(&target);
    }
    DropFromPuzzle(puzzle, drops);
    for (const Target* target : holders)
        CheckWritten(puzzle, *target);
    return 0;
}
