#include "writers/PuzzleContents.h"
#include "writers/PuzzleWriters.h"

// The size on the first line, a token per column and then per row, one to a
// line ("-" for no clue, a digit for a clue below 10, "." and two digits for
// one from 10 to 99), and when there is a picture "=" and a line per row:
// "0" a filled cell, "." one marked empty, "?" a blank one.

namespace {

std::string ClueToken(const std::vector<ClueEntry>& clues)
{
    if (clues.empty())
        return "-";
    std::string token;
    for (const ClueEntry clue : clues) {
        if (clue.value >= 10)
            token += '.' + std::to_string(clue.value / 10);
        token += static_cast<char>('0' + clue.value % 10);
    }
    return token;
}

void AppendTokens(std::string& text, const std::optional<ClueLists>& lists, int lineCount)
{
    for (int line = 0; line < lineCount; ++line)
        text += ClueToken(LineClues(lists, line)) + "\n";
}

char CellCharacter(std::uint8_t cell)
{
    if (cell == kMarkedEmpty)
        return '.';
    return cell == 0 ? '?' : '0';
}

} // namespace

std::string WritePpFile(const CTessGrid& puzzle)
{
    std::string text = std::to_string(puzzle.m_width) + " " + std::to_string(puzzle.m_height) + "\n";
    AppendTokens(text, puzzle.m_columnClues, puzzle.m_width);
    AppendTokens(text, puzzle.m_rowClues, puzzle.m_height);
    if (!HasPicture(puzzle))
        return text;
    text += "=\n";
    const Picture& picture = *puzzle.m_picture;
    for (int row = 0; row < picture.LineCount(); ++row) {
        for (const std::uint8_t cell : picture[row])
            text += CellCharacter(cell);
        text += "\n";
    }
    return text;
}
