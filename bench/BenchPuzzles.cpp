#include "BenchPuzzles.h"

#include "model/Colour.h"

#include <cstdint>
#include <fstream>
#include <utility>

// Each file is the largest its format can hold: 255 columns and rows, and 255
// clues in every line where the format stores clues. The clues of the native
// checkerboard are its true runs, so it is also what a derivation gives. The
// typical and the largest puzzle are byte for byte the files that the Windows
// test host times under Wine (tests/windows/TestHost.cpp), so that its figures
// and these stand side by side.

namespace {

constexpr int kLargestSide = 255;
constexpr int kTypicalSide = 30;

// Rows from the top, cells from the left: 0 blank, otherwise a palette entry.
struct Grid {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> cells;

    std::uint8_t At(int row, int column) const { return cells[static_cast<std::size_t>(row) * width + column]; }
};

// Colours 1 and 2 without a blank cell: every cell is a run of its own.
Grid Checkerboard()
{
    Grid grid{kLargestSide, kLargestSide, {}};
    for (int row = 0; row < grid.height; ++row) {
        for (int column = 0; column < grid.width; ++column)
            grid.cells.push_back(static_cast<std::uint8_t>(1 + (row + column) % 2));
    }
    return grid;
}

// Diagonal stripes two cells wide: up to 8 runs in a row and in a column.
Grid TypicalPicture()
{
    Grid grid{kTypicalSide, kTypicalSide, {}};
    for (int row = 0; row < grid.height; ++row) {
        for (int column = 0; column < grid.width; ++column)
            grid.cells.push_back((row + column) % 4 < 2 ? 1 : 0);
    }
    return grid;
}

std::vector<std::uint8_t> ColumnOf(const Grid& grid, int column)
{
    std::vector<std::uint8_t> line;
    for (int row = 0; row < grid.height; ++row)
        line.push_back(grid.At(row, column));
    return line;
}

std::vector<std::uint8_t> RowOf(const Grid& grid, int row)
{
    std::vector<std::uint8_t> line;
    for (int column = 0; column < grid.width; ++column)
        line.push_back(grid.At(row, column));
    return line;
}

// The line's runs as value and colour bytes, right-justified in `slots` entries.
std::string ClueBytes(const std::vector<std::uint8_t>& line, int slots)
{
    std::vector<std::pair<int, std::uint8_t>> runs;
    std::uint8_t previous = 0;
    for (const std::uint8_t cell : line) {
        if (cell != 0 && cell == previous)
            ++runs.back().first;
        else if (cell != 0)
            runs.emplace_back(1, cell);
        previous = cell;
    }
    std::string bytes(2 * (static_cast<std::size_t>(slots) - runs.size()), '\0');
    for (const auto& [length, colour] : runs) {
        bytes += static_cast<char>(length);
        bytes += static_cast<char>(colour);
    }
    return bytes;
}

// White background, a dark blue (white numbers) and an amber (black numbers).
std::string NativeHeader(const Grid& grid, int clueSlots)
{
    constexpr Colour kPalette[16] = {kWhite, MakeColour(30, 60, 160), MakeColour(220, 160, 20)};
    std::string bytes = "TESSA";
    bytes += static_cast<char>(3);
    for (const Colour colour : kPalette) {
        for (int shift = 0; shift < 32; shift += 8)
            bytes += static_cast<char>(colour >> shift & 0xFF);
    }
    for (const int field : {grid.width, grid.height, clueSlots, clueSlots, 0})
        bytes += static_cast<char>(field);
    return bytes;
}

// With 0 slots no clues are stored, and the reader derives them from the picture.
std::string NativeBytes(const Grid& grid, int clueSlots)
{
    std::string bytes = NativeHeader(grid, clueSlots);
    if (clueSlots > 0) {
        for (int column = 0; column < grid.width; ++column)
            bytes += ClueBytes(ColumnOf(grid, column), clueSlots);
        for (int row = 0; row < grid.height; ++row)
            bytes += ClueBytes(RowOf(grid, row), clueSlots);
    }
    bytes.append(grid.cells.begin(), grid.cells.end());
    return bytes;
}

// Width, height and both clue counts, then one byte (a run of 1) per clue.
std::string TgrBytes()
{
    std::string bytes(4, static_cast<char>(kLargestSide));
    bytes.append(2 * kLargestSide * kLargestSide, static_cast<char>(1));
    return bytes;
}

// Width and height, then the checkerboard in two colours column by column;
// state 2 is a filled cell.
std::string TgwBytes()
{
    std::string bytes(2, static_cast<char>(kLargestSide));
    for (int column = 0; column < kLargestSide; ++column) {
        for (int row = 0; row < kLargestSide; ++row)
            bytes += (row + column) % 2 == 0 ? '\x02' : '\x00';
    }
    return bytes;
}

// The two counts as characters offset by 48, two skipped bytes, then a line of
// 255 clue characters for each row and column.
std::string TgpBytes()
{
    const char count = static_cast<char>((kLargestSide + 48) % 256);
    std::string bytes = {count, count, '\r', '\n'};
    const std::string line = std::string(kLargestSide, '1') + "\r\n";
    for (int i = 0; i < 2 * kLargestSide; ++i)
        bytes += line;
    return bytes;
}

// Every clue written as a two-digit item, and the checkerboard picture after "=".
std::string PpBytes()
{
    std::string bytes = "255 255\n";
    std::string token;
    for (int i = 0; i < kLargestSide; ++i)
        token += ".01";
    for (int i = 0; i < 2 * kLargestSide; ++i)
        bytes += token + "\n";
    bytes += "=\n";
    for (int row = 0; row < kLargestSide; ++row) {
        for (int column = 0; column < kLargestSide; ++column)
            bytes += (row + column) % 2 == 0 ? '0' : '.';
        bytes += "\n";
    }
    return bytes;
}

PuzzleFile Write(const std::string& folder, const std::string& label, const std::string& name, const std::string& bytes)
{
    const std::string path = folder + "/" + name;
    std::ofstream(path, std::ios::binary) << bytes;
    return {label, path};
}

} // namespace

BenchPuzzles WriteBenchPuzzles(const std::string& folder)
{
    const Grid checkerboard = Checkerboard();
    BenchPuzzles puzzles;
    puzzles.typical = Write(folder, "typical", "typical.tessa", NativeBytes(TypicalPicture(), 0));
    puzzles.largest = Write(folder, "native_derived_clues", "largest.tessa", NativeBytes(checkerboard, 0));
    puzzles.largestOfEachFormat = {
        Write(folder, "native_stored_clues", "largest-stored.tessa", NativeBytes(checkerboard, kLargestSide)),
        puzzles.largest,
        Write(folder, "tgr", "largest.tgr", TgrBytes()),
        Write(folder, "tgw", "largest.tgw", TgwBytes()),
        Write(folder, "tgp", "largest.tgp", TgpBytes()),
        Write(folder, "pp_with_picture", "largest.pp", PpBytes()),
    };
    return puzzles;
}
