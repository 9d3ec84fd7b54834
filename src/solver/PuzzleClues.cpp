#include "solver/PuzzleClues.h"

#include <algorithm>

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

std::vector<std::uint8_t> ColumnOf(const Picture& picture, int column)
{
    std::vector<std::uint8_t> cells(static_cast<std::size_t>(picture.LineCount()));
    for (int row = 0; row < picture.LineCount(); ++row)
        cells[static_cast<std::size_t>(row)] = picture[row][static_cast<std::size_t>(column)];
    return cells;
}

} // namespace

PuzzleClues CluesOfPicture(const Picture& picture)
{
    PuzzleClues clues{picture.LineLength(), picture.LineCount(), {}, {}};
    for (int column = 0; column < clues.width; ++column)
        clues.columns.push_back(RunsOf(ColumnOf(picture, column)));
    for (int row = 0; row < clues.height; ++row)
        clues.rows.push_back(RunsOf(picture[row]));
    return clues;
}

PuzzleClues CluesOf(const CTessGrid& puzzle)
{
    if (puzzle.m_cluesFromPicture)
        return CluesOfPicture(*puzzle.m_picture);
    return {puzzle.m_width, puzzle.m_height, CluesOfDirection(puzzle.m_columnClues, puzzle.m_width),
            CluesOfDirection(puzzle.m_rowClues, puzzle.m_height)};
}

std::vector<int> LinesWithLongRuns(const std::vector<LineClue>& clues)
{
    std::vector<int> lines;
    for (std::size_t line = 0; line < clues.size(); ++line) {
        if (std::ranges::any_of(clues[line], [](ClueRun run) { return run.length > kLongestStoredRun; }))
            lines.push_back(static_cast<int>(line));
    }
    return lines;
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
    for (int column = 0; column < clues.width; ++column) {
        if (RunsOf(ColumnOf(picture, column)) != clues.columns[static_cast<std::size_t>(column)])
            return false;
    }
    return true;
}
