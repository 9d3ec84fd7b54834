#pragma once

#include "model/TessGrid.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// What a reader of a public format makes of a file, before the model takes it.
// Every addition is checked against what the model holds, so that a file beyond
// a limit is refused as soon as it passes it and nothing more of it is kept.
// The model then takes every draft the same way (CTessGrid::TakeDraft).

// The most columns or rows: dimensions are one byte.
inline constexpr int kMaxLines = 255;
// Bit 7 of a clue byte is the crossed flag.
inline constexpr int kMaxClueLength = 127;

struct DraftClue {
    std::uint8_t length;
    // An index into the draft's palette, never 0 (the background).
    std::uint8_t colour;
};
using DraftLine = std::vector<DraftClue>;
using DraftLines = std::vector<DraftLine>;

class CPuzzleDraft {
public:
    // Each of these returns false, with the reason in m_refusal, for what the
    // model cannot hold.
    bool Refuse(std::string reason);
    bool CheckSize(std::int64_t width, std::int64_t height);
    bool AddLine(DraftLines& lines, const char* direction);
    bool AddClue(DraftLine& line, std::int64_t length, std::uint8_t colour);
    bool AddColour(Colour colour);

    // A new blank picture of m_height rows of m_width cells, after CheckSize.
    std::vector<std::uint8_t>& MakePicture();

    // Entry 0 is the background, the others the colours of clues and cells.
    // Empty for a format without colours: it shows white and the user's ink,
    // as the other two-colour formats do.
    std::vector<Colour> m_palette;
    int m_width = 0;
    int m_height = 0;
    // Absent when the file has no clues for that direction.
    std::optional<DraftLines> m_columns;
    std::optional<DraftLines> m_rows;
    // The file's own picture, rows from the top: 0 the background, else a
    // palette entry (1 the ink of a format without colours).
    std::optional<std::vector<std::uint8_t>> m_picture;
    PuzzleMetadata m_metadata;
    std::vector<PuzzleSummary> m_puzzleSet;
    std::string m_refusal;
};
