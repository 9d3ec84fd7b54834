#pragma once

#include "model/TessGrid.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

// Files for the readers to read, written into the test run's own folder.

using Bytes = std::vector<std::uint8_t>;

std::string TestFolder();

// Writes `contents` to a new file whose name ends in `extension`; returns its path.
std::string WriteTestFile(const std::string& contents, const std::string& extension);
std::string WriteTestFile(const Bytes& contents, const std::string& extension);

std::unique_ptr<CTessGrid> LoadText(const std::string& contents, const std::string& extension,
                                    const SettingsOverlay& overlay = {});
std::unique_ptr<CTessGrid> LoadBytes(const Bytes& contents, const std::string& extension,
                                     const SettingsOverlay& overlay = {});

// The fields of a native file; Bytes() lays them out as the format does.
struct NativeFile {
    std::string signature = "TESSA";
    std::uint8_t colourCount = 2;
    std::array<Colour, 16> palette = {kWhite, kBlack};
    std::uint8_t width = 0;
    std::uint8_t height = 0;
    std::uint8_t rowClueMax = 0;
    std::uint8_t columnClueMax = 0;
    std::uint8_t noPicture = 0;
    Bytes columnClues; // value, colour pairs
    Bytes rowClues;
    Bytes picture;

    Bytes ToBytes() const;
};

std::unique_ptr<CTessGrid> LoadNative(const NativeFile& file, const SettingsOverlay& overlay = {});

// A native puzzle file of `columns` by `rows` cells in three colours, with
// three clue slots beside each row and one above each column, for the window
// tests; returns its path.
std::string WriteWindowPuzzle(int columns, int rows);

// A picture given as text rows: '.' is 0, digits and a-f the colours, 'x' 255.
Bytes PictureBytes(const std::vector<std::string>& rows);

std::vector<ClueEntry> Clues(std::initializer_list<ClueEntry> entries);

template <typename Item>
std::vector<Item> LineOf(const LineTable<Item>& table, int line)
{
    return {table[line].begin(), table[line].end()};
}
