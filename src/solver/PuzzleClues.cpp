#include "solver/PuzzleClues.h"

namespace {

constexpr std::uint8_t kLengthBits = 0x7F;

LineClue ClueOf(std::span<const ClueEntry> list)
{
    LineClue clue;
    for (const ClueEntry entry : list) {
        const auto length = static_cast<std::uint8_t>(entry.value & kLengthBits);
        if (length != 0)
            clue.push_back({length, CTessGrid::PaletteIndex(entry.colour)});
    }
    return clue;
}

std::vector<LineClue> CluesOfDirection(const std::optional<ClueLists>& lists, int lineCount)
{
    std::vector<LineClue> clues(static_cast<std::size_t>(lineCount));
    if (!lists)
        return clues;
    for (int line = 0; line < lineCount; ++line)
        clues[static_cast<std::size_t>(line)] = ClueOf((*lists)[line]);
    return clues;
}

} // namespace

PuzzleClues CluesOf(const CTessGrid& puzzle)
{
    return {puzzle.m_width, puzzle.m_height, CluesOfDirection(puzzle.m_columnClues, puzzle.m_width),
            CluesOfDirection(puzzle.m_rowClues, puzzle.m_height)};
}

LineClue RunsOf(std::span<const std::uint8_t> cells)
{
    LineClue runs;
    std::uint8_t previous = 0;
    for (const std::uint8_t cell : cells) {
        const std::uint8_t ink = CTessGrid::InkOf(cell);
        if (ink != 0 && ink == previous)
            ++runs.back().length;
        else if (ink != 0)
            runs.push_back({1, ink});
        previous = ink;
    }
    return runs;
}

bool PictureFitsClues(const Picture& picture, const PuzzleClues& clues)
{
    if (picture.LineCount() != clues.height || picture.LineLength() != clues.width)
        return false;
    for (int row = 0; row < clues.height; ++row) {
        if (RunsOf(picture[row]) != clues.rows[static_cast<std::size_t>(row)])
            return false;
    }
    std::vector<std::uint8_t> column(static_cast<std::size_t>(clues.height));
    for (int c = 0; c < clues.width; ++c) {
        for (int row = 0; row < clues.height; ++row)
            column[static_cast<std::size_t>(row)] = picture[row][static_cast<std::size_t>(c)];
        if (RunsOf(column) != clues.columns[static_cast<std::size_t>(c)])
            return false;
    }
    return true;
}
