#pragma once

#include "model/Colour.h"
#include "model/DisplaySettings.h"
#include "model/LineTable.h"

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// One clue: bits 0 to 6 of `value` are the run length, bit 7 the crossed flag;
// a value of 0 is an empty slot whatever its colour.
struct ClueEntry {
    std::uint8_t value;
    std::uint8_t colour;

    bool operator==(const ClueEntry&) const = default;
};
static_assert(sizeof(ClueEntry) == 2, "clue entries are read straight from files");

inline constexpr std::uint8_t kCrossedFlag = 0x80;
// Bit 7 of a clue value is the crossed flag, so the longest run a clue can
// hold; clues derived from a picture store longer runs at this length.
inline constexpr int kLongestStoredRun = 127;

// Entry 0 of each list is the slot farthest from the grid.
using ClueLists = LineTable<ClueEntry>;
// Rows from the top, cells from the left: 0 blank, 1 to 15 a palette entry,
// 255 marked as known to be empty.
using Picture = LineTable<std::uint8_t>;

inline constexpr std::uint8_t kMarkedEmpty = 255;
// The first bytes of the desktop program's own files, and the signature every
// model holds.
inline constexpr char kNativeSignature[5] = {'T', 'E', 'S', 'S', 'A'};
inline constexpr int kPaletteSize = 16;

// The three areas of the layout that have cells.
enum CellArea : std::int32_t {
    ColumnClue = 1,
    RowClue = 2,
    GridCell = 3,
};

enum LoadStatus : std::int32_t {
    LoadOk = 0,
    LoadRejected = 3,
    LoadFileError = 4,
};

// What a file says about its puzzle beyond the puzzle itself, kept for info
// and convert and never drawn. A field is empty where the file says nothing.
struct PuzzleMetadata {
    std::string title;
    std::string author;
    std::string copyright;
    std::string licence;
    // The puzzle's number or place in its collection.
    std::string id;
    std::string description;

    bool operator==(const PuzzleMetadata&) const = default;
};

// One puzzle of a file that holds several. Its size is as the file gives it,
// also beyond what the model holds: only the first puzzle is loaded.
struct PuzzleSummary {
    std::string title;
    std::string id;
    std::string type;
    int width = 0;
    int height = 0;
};

class CDrawingSurface;
class CPuzzleDraft;

// One puzzle, loaded from a file by the constructor. The members are public:
// the readers fill them and the rendering reads them.
class CTessGrid {
public:
    explicit CTessGrid(std::string path, const SettingsOverlay& overlay = {});
    virtual ~CTessGrid() = default;

    DisplaySettings m_settings{};
    char m_signature[5]{};
    std::uint8_t m_colourCount = 0;
    Colour m_palette[kPaletteSize]{};
    std::uint8_t m_darkColour[kPaletteSize]{};
    std::uint8_t m_width = 0;
    std::uint8_t m_height = 0;
    std::uint8_t m_rowClueMax = 0;
    std::uint8_t m_columnClueMax = 0;
    std::uint8_t m_noPicture = 0;
    std::optional<ClueLists> m_columnClues;
    std::optional<ClueLists> m_rowClues;
    std::optional<Picture> m_picture;
    // Set by DeriveClues: the clue lists were made from the picture, which
    // keeps the true length of every run longer than kLongestStoredRun.
    bool m_cluesFromPicture = false;
    LoadStatus m_status = LoadFileError;
    std::int32_t m_layoutWidth = 0;
    std::int32_t m_layoutHeight = 0;
    PuzzleMetadata m_metadata;
    // Every puzzle of a file that holds more than one, in the file's order;
    // the model is the first of them. Empty for a file of one puzzle.
    std::vector<PuzzleSummary> m_puzzleSet;
    // Why the contents were refused, in a few words, when the reader could
    // say; the command prints it on its one line of stderr.
    std::string m_refusal;

    bool ReadDisplaySettings();
    void UpdateDarkColours();
    void DeriveClues();
    void JustifyClues();

    // A colour index has a palette entry only below 16. Every larger index
    // (clue colours and picture cells of 16 to 254 that a native file may hold)
    // stands for entry 0, the background: such a cell shows blank, counts as
    // blank when clues are derived, and such a clue shows on the background
    // colour. 255 in the picture is the marked-empty cell, not a colour.
    static std::uint8_t PaletteIndex(std::uint8_t colourIndex)
    {
        return colourIndex < kPaletteSize ? colourIndex : 0;
    }
    // The colour that a colour index is drawn in.
    Colour PaletteColour(std::uint8_t colourIndex) const { return RgbOf(m_palette[PaletteIndex(colourIndex)]); }

    // The colour a picture cell shows as ink: a marked-empty cell is empty and
    // a colour without a palette entry is the background, so neither starts a
    // run. Clues are derived, and pictures compared with clues, by this rule.
    static std::uint8_t InkOf(std::uint8_t cell)
    {
        return cell == kMarkedEmpty ? 0 : PaletteIndex(cell);
    }

    // Pixel position of a cell's top-left corner; false when there is no such cell.
    bool CellOrigin(CellArea area, int a, int b, int& x, int& y) const;
    // Stores the layout's width and height in m_layoutWidth and m_layoutHeight.
    std::pair<int, int> LayoutExtent();

    static void DrawDigit(int x, int y, int digit, bool white, CDrawingSurface& dc);
    bool DrawRulerNumber(int n, bool isColumn, CDrawingSurface& dc);
    void DrawClueNumber(int x, int y, int value, std::uint8_t colour, CDrawingSurface& dc);

    // Draws the frame, the clues, the grid and the ruler numbers on a white
    // surface whose default pen and brush are selected.
    void PaintPuzzle(CDrawingSurface& dc);
    void PaintClueCell(CellArea area, int a, int b, CDrawingSurface& dc);
    void PaintGridCell(int a, int b, std::uint8_t value, CDrawingSurface& dc);

    bool ReadNativeFile(const std::string& path);
    bool ReadTgrFile(const std::string& path);
    bool ReadTgwFile(const std::string& path);
    bool ReadTgpFile(const std::string& path);
    bool ReadPpFile(const std::string& path);
    // The public formats, recognised by their contents, for a file that the
    // native reader does not take.
    bool ReadPublicFormat(const std::string& path);

private:
    LoadStatus Load(const std::string& path);
    LoadStatus LoadByContents(const std::string& path);
    bool TakeDraft(const CPuzzleDraft& draft);
    void ForgetContents();
    void SetTwoColourHeader();
};
