#include "writers/PuzzleContents.h"
#include "writers/PuzzleWriters.h"

#include <cstdio>

// Keyword lines: the properties, "width" and "height", then "rows" and
// "columns" each followed by a rule per line (the lengths separated by
// commas, "0" for none), and "goal" with the picture on one line, row after
// row. A puzzle in the user's ink is written as the original two-colour
// format; any other gets the colours of the large collections: "color 0" the
// background, "color a" to "color o" the palette entries 1 to 15, each length
// and goal cell followed or written by its letter.

namespace {

// A property is quoted, so that spaces at its ends stay. Its reader takes
// character references, so '&' and control characters are written as such.
std::string PropertyLine(const char* keyword, const std::string& value)
{
    std::string line = std::string(keyword) + " \"";
    for (const char c : value) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '&')
            line += "&amp;";
        else if (byte < 0x20 || byte == 0x7F)
            line += "&#" + std::to_string(byte) + ";";
        else
            line += c;
    }
    return line + "\"\n";
}

std::string Properties(const PuzzleMetadata& metadata)
{
    std::string text;
    const std::pair<const char*, const std::string*> kProperties[] = {
        {"title", &metadata.title},     {"by", &metadata.author},    {"copyright", &metadata.copyright},
        {"license", &metadata.licence}, {"catalogue", &metadata.id},
    };
    for (const auto& [keyword, value] : kProperties) {
        if (!value->empty())
            text += PropertyLine(keyword, *value);
    }
    return text;
}

char ColourLetter(std::uint8_t colour)
{
    return static_cast<char>('a' + colour - 1);
}

std::string ColourLines(const CTessGrid& puzzle)
{
    std::string text;
    const int count = ColoursToWrite(puzzle);
    for (int i = 0; i < count; ++i) {
        const Colour colour = puzzle.m_palette[i];
        char line[32];
        std::snprintf(line, sizeof line, "color %c #%02X%02X%02X\n",
                      i == 0 ? '0' : ColourLetter(static_cast<std::uint8_t>(i)), RedOf(colour), GreenOf(colour),
                      BlueOf(colour));
        text += line;
    }
    return text;
}

std::string Rules(const char* keyword, const std::optional<ClueLists>& lists, int lineCount, bool colours)
{
    std::string text = std::string(keyword) + "\n";
    for (int line = 0; line < lineCount; ++line) {
        const std::vector<ClueEntry> clues = LineClues(lists, line);
        std::string rule;
        for (const ClueEntry clue : clues) {
            rule += (rule.empty() ? "" : ",") + std::to_string(clue.value);
            if (colours)
                rule += ColourLetter(clue.colour);
        }
        text += (clues.empty() ? "0" : rule) + "\n";
    }
    return text;
}

std::string GoalLine(const Picture& picture, bool colours)
{
    std::string line = "goal \"";
    for (const std::uint8_t cell : picture.Items()) {
        if (cell == 0)
            line += '0';
        else
            line += colours ? ColourLetter(cell) : '1';
    }
    return line + "\"\n";
}

} // namespace

std::string WriteNonFile(const CTessGrid& puzzle)
{
    const bool colours = !ShowsUserInk(puzzle);
    std::string text = Properties(puzzle.m_metadata);
    text += "width " + std::to_string(puzzle.m_width) + "\n";
    text += "height " + std::to_string(puzzle.m_height) + "\n";
    if (colours)
        text += ColourLines(puzzle);
    text += Rules("rows", puzzle.m_rowClues, puzzle.m_height, colours);
    text += Rules("columns", puzzle.m_columnClues, puzzle.m_width, colours);
    if (HasPicture(puzzle))
        text += GoalLine(*puzzle.m_picture, colours);
    return text;
}
