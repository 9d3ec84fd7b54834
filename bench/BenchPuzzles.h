#pragma once

#include <string>
#include <vector>

// The puzzle files the benchmark measures, written afresh at its start so that
// no large file lives in the repository.
struct PuzzleFile {
    std::string label;
    std::string path;
};

struct BenchPuzzles {
    // A native picture of 30 x 30 cells whose derived clues need 8 slots in
    // each direction.
    PuzzleFile typical;
    // The largest possible puzzle: a native 255 x 255 checkerboard of two
    // colours, whose derived clues need 255 slots in each direction.
    PuzzleFile largest;
    // The largest file each reader reads: the one above, the same puzzle with
    // its clues stored, and one of every other format.
    std::vector<PuzzleFile> largestOfEachFormat;
};

// Writes the files into `folder`, which exists.
BenchPuzzles WriteBenchPuzzles(const std::string& folder);
