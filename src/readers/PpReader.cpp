#include "model/TessGrid.h"
#include "readers/SafeFile.h"
#include "readers/TextTokens.h"

#include <algorithm>

// A text of white-space separated tokens: width and height on the first line,
// from the first line break on one clue token per column and then per row, and
// optionally, after the first "=" that follows them, one picture token per row.

namespace {

constexpr std::string_view kDelimiters = " \t\r\n";
constexpr std::string_view kLineBreaks = "\r\n";
constexpr std::string_view kEmptyListToken = "-";

// Reads the clues of one token into `list` when it is given, and counts them.
// Items are one digit, or "." and two characters read as a two-digit number.
// Returns -1 for a token that breaks this grammar or holds too many clues.
int ReadClueToken(std::string_view token, std::span<ClueEntry> list = {})
{
    if (token == kEmptyListToken)
        return 0;
    int count = 0;
    for (std::size_t i = 0; i < token.size(); ++count) {
        std::uint8_t value = 0;
        if (token[i] >= '0' && token[i] <= '9') {
            value = static_cast<std::uint8_t>(token[i] - '0');
            i += 1;
        } else if (token[i] == '.' && i + 2 < token.size()) {
            const int tens = static_cast<unsigned char>(token[i + 1]) - 48;
            const int units = static_cast<unsigned char>(token[i + 2]) - 48;
            value = static_cast<std::uint8_t>(10 * tens + units);
            i += 3;
        } else {
            return -1;
        }
        if (count == kMaxCluesPerLine)
            return -1;
        if (!list.empty())
            list[static_cast<std::size_t>(count)] = {value, 1};
    }
    return count;
}

// The measuring pass: checks that `tokenCount` valid clue tokens follow and
// finds the most clues in one of them, without allocating any list.
bool MeasureTokens(std::string_view text, std::int64_t& position, int tokenCount, std::uint8_t& most)
{
    int largest = 0;
    for (int i = 0; i < tokenCount; ++i) {
        if (position < 0)
            return false;
        const std::string token = NextToken(text, kDelimiters, position);
        const int count = token.empty() ? -1 : ReadClueToken(token);
        if (count < 0)
            return false;
        largest = std::max(largest, count);
    }
    most = static_cast<std::uint8_t>(largest);
    return true;
}

// The filling pass over tokens the measuring pass has already checked.
void FillTokens(std::string_view text, std::int64_t& position, int tokenCount, std::optional<ClueLists>& lists,
                std::uint8_t clueMax)
{
    if (clueMax > 0)
        lists.emplace(tokenCount, clueMax);
    for (int i = 0; i < tokenCount; ++i) {
        const std::string token = NextToken(text, kDelimiters, position);
        if (lists)
            ReadClueToken(token, (*lists)[i]);
    }
}

bool CellOf(char c, std::uint8_t& cell)
{
    switch (c) {
    case '0': cell = 1; return true;
    case '.': cell = kMarkedEmpty; return true;
    case '?': cell = 0; return true;
    default: return false;
    }
}

bool ReadPictureRows(std::string_view text, std::int64_t position, Picture& picture)
{
    for (int row = 0; row < picture.LineCount(); ++row) {
        if (position < 0)
            return false;
        const std::string token = NextToken(text, kDelimiters, position);
        if (std::ssize(token) != picture.LineLength())
            return false;
        std::span<std::uint8_t> cells = picture[row];
        for (std::size_t i = 0; i < token.size(); ++i) {
            if (!CellOf(token[i], cells[i]))
                return false;
        }
    }
    return true;
}

} // namespace

bool CTessGrid::ReadPpFile(const std::string& path)
{
    CSafeFile file(path);
    ForgetContents();
    SetTwoColourHeader();
    std::string text;
    if (!file.ReadToEnd(text, kMaxPuzzleTextBytes)) {
        m_refusal = "a text of more than 16 MiB";
        return false;
    }
    file.Close();
    m_noPicture = 1;

    std::int64_t position = 0;
    m_width = static_cast<std::uint8_t>(LeadingNumber(NextToken(text, kDelimiters, position)));
    // A text whose only token runs to its end has no height.
    if (position < 0) {
        m_refusal = "no height after the width";
        return false;
    }
    m_height = static_cast<std::uint8_t>(LeadingNumber(NextToken(text, kDelimiters, position)));

    // Whatever else stands on the first line is skipped.
    const std::int64_t cluesStart = FindAnyOf(text, 0, kLineBreaks);
    position = cluesStart;
    if (!MeasureTokens(text, position, m_width, m_columnClueMax) ||
        !MeasureTokens(text, position, m_height, m_rowClueMax)) {
        m_refusal = "fewer clue tokens than its " + std::to_string(m_width) + " columns and " +
                    std::to_string(m_height) + " rows, or a token that is not \"-\", digits and \".\" pairs";
        return false;
    }
    position = cluesStart;
    FillTokens(text, position, m_width, m_columnClues, m_columnClueMax);
    FillTokens(text, position, m_height, m_rowClues, m_rowClueMax);

    Picture& picture = m_picture.emplace(m_height, m_width);
    const std::int64_t equals = position < 0 ? -1 : FindAnyOf(text, position, "=");
    if (equals < 0 || ReadPictureRows(text, equals + 1, picture))
        return true;
    m_refusal = "a picture after \"=\" with a row missing, of another length than " + std::to_string(m_width) +
                ", or of other cells than 0, . and ?";
    return false;
}
