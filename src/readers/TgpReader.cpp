#include "model/TessGrid.h"
#include "readers/SafeFile.h"
#include "readers/TextTokens.h"

#include <algorithm>

// Clue text: the row count and the column count as characters offset by 48,
// two skipped bytes, then one CR LF line per row and then per column, every byte
// of a line one clue (its value minus 48).

namespace {

constexpr std::string_view kLineEnd = "\r\n";

std::uint8_t CharacterValue(char c)
{
    return static_cast<std::uint8_t>(static_cast<unsigned char>(c) - 48);
}

// The line that starts at `position`, or false when the text holds no CR LF
// for it. Moves `position` past the line's end.
bool NextLine(std::string_view text, std::int64_t& position, std::string_view& line)
{
    const std::int64_t end = FindSequence(text, position, kLineEnd);
    if (end < 0)
        return false;
    line = text.substr(static_cast<std::size_t>(position), static_cast<std::size_t>(end - position));
    position = end + static_cast<std::int64_t>(kLineEnd.size());
    return true;
}

// The measuring pass: checks that `lineCount` lines follow and finds the
// longest, without allocating anything.
bool MeasureLines(std::string_view text, std::int64_t& position, int lineCount, std::uint8_t& longest)
{
    std::size_t most = 0;
    for (int i = 0; i < lineCount; ++i) {
        std::string_view line;
        if (!NextLine(text, position, line) || line.size() > kMaxCluesPerLine)
            return false;
        most = std::max(most, line.size());
    }
    longest = static_cast<std::uint8_t>(most);
    return true;
}

// The filling pass over lines the measuring pass has already checked. Without
// lists the lines are still walked, so the next group starts after them.
void FillLines(std::string_view text, std::int64_t& position, int lineCount, std::optional<ClueLists>& lists,
               std::uint8_t clueMax)
{
    if (clueMax > 0)
        lists.emplace(lineCount, clueMax);
    for (int i = 0; i < lineCount; ++i) {
        std::string_view line;
        NextLine(text, position, line);
        if (!lists)
            continue;
        std::span<ClueEntry> list = (*lists)[i];
        for (std::size_t k = 0; k < line.size(); ++k) {
            const std::uint8_t value = CharacterValue(line[k]);
            list[k] = {value, static_cast<std::uint8_t>(value != 0 ? 1 : 0)};
        }
    }
}

} // namespace

bool CTessGrid::ReadTgpFile(const std::string& path)
{
    CSafeFile file(path);
    ForgetContents();
    SetTwoColourHeader();
    m_noPicture = 1;
    m_height = CharacterValue(static_cast<char>(file.ReadByte()));
    m_width = CharacterValue(static_cast<char>(file.ReadByte()));
    file.Skip(2);
    std::string text;
    if (!file.ReadToEnd(text, kMaxPuzzleTextBytes)) {
        m_refusal = "a text of more than 16 MiB";
        return false;
    }
    file.Close();

    std::int64_t position = 0;
    if (!MeasureLines(text, position, m_height, m_rowClueMax) ||
        !MeasureLines(text, position, m_width, m_columnClueMax)) {
        m_refusal = "fewer CR LF lines than its " + std::to_string(m_height) + " rows and " +
                    std::to_string(m_width) + " columns, or a line of more than 255 clues";
        return false;
    }
    position = 0;
    FillLines(text, position, m_height, m_rowClues, m_rowClueMax);
    FillLines(text, position, m_width, m_columnClues, m_columnClueMax);
    m_picture.emplace(m_height, m_width);
    return true;
}
