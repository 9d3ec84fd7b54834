#pragma once

#include "model/TessGrid.h"

#include <cstdint>
#include <span>
#include <vector>

// What the solver reads of a loaded puzzle: its size and, for every column and
// row, the runs that its clue list asks for, in line order (top to bottom,
// left to right).
//
// A clue's length is bits 0 to 6 of its value; the crossed flag only records
// how far a player got, and a length of 0 is an empty slot whatever its colour
// (so 0x80 is empty too). Its colour goes through CTessGrid::PaletteIndex, so
// indices from 16 up stand for colour 0, the background. A run of the
// background can never be drawn: a background cell is blank, and blank cells
// part runs instead of making them. A clue of colour 0 therefore makes its
// puzzle unsolvable, just as no picture ever derives one. A direction without
// clue lists (its maximum is 0) has an empty clue on every line.
//
// Clues derived from a picture are that picture's runs (RunsOf), at their true
// lengths: a stored clue holds at most kLongestStoredRun cells, and a longer
// run cut to that length would make a sound puzzle look unsolvable.

struct ClueRun {
    std::uint8_t length;
    std::uint8_t colour;

    bool operator==(const ClueRun&) const = default;
};

using LineClue = std::vector<ClueRun>;

struct PuzzleClues {
    int width = 0;
    int height = 0;
    std::vector<LineClue> columns;
    std::vector<LineClue> rows;
};

PuzzleClues CluesOf(const CTessGrid& puzzle);

// The runs of every row and column of a picture, at their true lengths.
PuzzleClues CluesOfPicture(const Picture& picture);

// The lines, counted from 0, whose clue holds a run longer than a stored clue
// can: only clues derived from a picture have them.
std::vector<int> LinesWithLongRuns(const std::vector<LineClue>& clues);

// The runs of a line of cells: maximal stretches of one ink (CTessGrid::InkOf),
// blanks between them. Runs of different colours may touch.
LineClue RunsOf(std::span<const std::uint8_t> cells);

// True when every row and column of the picture holds exactly the runs of its
// clue. This is what makes a grid a solution; it shares nothing with the
// solver, so that it can check the solver's answers.
bool PictureFitsClues(const Picture& picture, const PuzzleClues& clues);
