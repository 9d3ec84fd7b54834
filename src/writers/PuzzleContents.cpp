#include "writers/PuzzleContents.h"

#include <algorithm>

std::vector<ClueEntry> LineClues(const std::optional<ClueLists>& lists, int line)
{
    std::vector<ClueEntry> clues;
    if (!lists)
        return clues;
    for (const ClueEntry entry : (*lists)[line]) {
        if (entry.value != 0)
            clues.push_back(entry);
    }
    return clues;
}

bool HasPicture(const CTessGrid& puzzle)
{
    const auto cells = puzzle.m_picture->Items();
    if (cells.empty())
        return false;
    return puzzle.m_noPicture == 0 || std::ranges::any_of(cells, [](std::uint8_t cell) { return cell != 0; });
}

int ColoursToWrite(const CTessGrid& puzzle)
{
    int count = puzzle.m_colourCount;
    const auto use = [&](std::uint8_t colour) {
        if (colour < kPaletteSize)
            count = std::max(count, colour + 1);
    };
    for (const auto* lists : {&puzzle.m_columnClues, &puzzle.m_rowClues}) {
        if (!*lists)
            continue;
        for (const ClueEntry entry : (*lists)->Items()) {
            if (entry.value != 0)
                use(entry.colour);
        }
    }
    for (const std::uint8_t cell : puzzle.m_picture->Items())
        use(cell);
    return count;
}

bool ShowsUserInk(const CTessGrid& puzzle)
{
    return ColoursToWrite(puzzle) == 2 && RgbOf(puzzle.m_palette[0]) == kWhite &&
           RgbOf(puzzle.m_palette[1]) == RgbOf(puzzle.m_settings.filledColour);
}

std::string LineName(bool row, int line)
{
    return (row ? "row " : "column ") + std::to_string(line + 1);
}
