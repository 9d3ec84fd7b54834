#include "writers/PuzzleContents.h"

#include <algorithm>

namespace {

bool SameLists(const std::optional<ClueLists>& a, const std::optional<ClueLists>& b)
{
    if (!a || !b)
        return !a && !b;
    return a->LineCount() == b->LineCount() && a->LineLength() == b->LineLength() &&
           std::ranges::equal(a->Items(), b->Items());
}

template <typename CellAt>
int LongestRunOf(int length, CellAt cellAt)
{
    int longest = 0;
    int run = 0;
    std::uint8_t current = 0;
    for (int i = 0; i < length; ++i) {
        const std::uint8_t ink = CTessGrid::InkOf(cellAt(i));
        run = ink != 0 && ink == current ? run + 1 : 1;
        current = ink;
        if (ink != 0)
            longest = std::max(longest, run);
    }
    return longest;
}

} // namespace

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

bool CluesComeFromPicture(const CTessGrid& puzzle)
{
    CTessGrid derived = puzzle;
    derived.DeriveClues();
    return derived.m_columnClueMax == puzzle.m_columnClueMax && derived.m_rowClueMax == puzzle.m_rowClueMax &&
           SameLists(derived.m_columnClues, puzzle.m_columnClues) && SameLists(derived.m_rowClues, puzzle.m_rowClues);
}

LongestRun FindLongestRun(const Picture& picture)
{
    LongestRun longest;
    for (int row = 0; row < picture.LineCount(); ++row) {
        const int length = LongestRunOf(picture.LineLength(), [&](int i) { return picture[row][i]; });
        if (length > longest.length)
            longest = {length, true, row};
    }
    for (int column = 0; column < picture.LineLength(); ++column) {
        const int length = LongestRunOf(picture.LineCount(), [&](int i) { return picture[i][column]; });
        if (length > longest.length)
            longest = {length, false, column};
    }
    return longest;
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
