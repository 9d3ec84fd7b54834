#include "writers/PuzzleContents.h"
#include "writers/PuzzleWriters.h"

// The row count and the column count as characters offset by 48, CR LF, then
// a CR LF line per row and then per column, one character per clue: its whole
// value byte plus 48, so that a crossed clue keeps its flag.

namespace {

constexpr int kCharacterOffset = 48;

char CharacterOf(std::uint8_t value)
{
    return static_cast<char>((value + kCharacterOffset) & 0xFF);
}

void AppendLines(std::string& text, const std::optional<ClueLists>& lists, int lineCount)
{
    for (int line = 0; line < lineCount; ++line) {
        for (const ClueEntry clue : LineClues(lists, line))
            text += CharacterOf(clue.value);
        text += "\r\n";
    }
}

} // namespace

std::string TgpLineProblem(const std::vector<ClueEntry>& clues)
{
    for (std::size_t i = 0; i < clues.size(); ++i) {
        if (CharacterOf(clues[i].value) == '\0')
            return "a crossed-out clue of " + std::to_string(clues[i].value & ~kCrossedFlag);
        if (i + 1 < clues.size() && CharacterOf(clues[i].value) == '\r' && CharacterOf(clues[i + 1].value) == '\n')
            return "the crossed-out clues " + std::to_string(clues[i].value & ~kCrossedFlag) + " and " +
                   std::to_string(clues[i + 1].value & ~kCrossedFlag) + " side by side";
    }
    return {};
}

std::string WriteTgpFile(const CTessGrid& puzzle)
{
    std::string text;
    text += CharacterOf(puzzle.m_height);
    text += CharacterOf(puzzle.m_width);
    text += "\r\n";
    AppendLines(text, puzzle.m_rowClues, puzzle.m_height);
    AppendLines(text, puzzle.m_columnClues, puzzle.m_width);
    return text;
}
