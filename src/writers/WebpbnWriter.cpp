#include "model/Utf8.h"
#include "writers/PuzzleContents.h"
#include "writers/PuzzleWriters.h"

#include <cstdio>

// One <puzzle type="grid"> in a <puzzleset>: the properties, a <color> per
// palette entry (entry 0 the background, entry 1 the colour of a count
// without one), the column and row clues as <count> elements, and the picture
// as a goal <image>, each row between '|' characters, one colour character
// per cell. Every colour is defined, so nothing rests on the format's
// predefined black and white.

namespace {

constexpr char kColourCharacters[] = ".Xabcdefghijklmn";
static_assert(sizeof kColourCharacters - 1 == kPaletteSize);

// Text as XML 1.0 takes it in an element or a quoted attribute. Bytes that
// are not UTF-8, and control characters that XML forbids, become U+FFFD: the
// text formats keep a property's bytes as the file gave them.
std::string Escaped(std::string_view text)
{
    std::string escaped;
    while (!text.empty()) {
        const std::size_t length = WellFormedUtf8Length(text);
        const char c = text.front();
        if (length > 1)
            escaped += text.substr(0, length);
        else if (length == 0 || (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' && c != '\r'))
            escaped += kReplacementCharacter;
        else if (c == '&')
            escaped += "&amp;";
        else if (c == '<')
            escaped += "&lt;";
        else if (c == '>')
            escaped += "&gt;";
        else if (c == '"')
            escaped += "&quot;";
        // A parser reads a raw CR as a line feed.
        else if (c == '\r')
            escaped += "&#13;";
        else
            escaped += c;
        text.remove_prefix(length == 0 ? 1 : length);
    }
    return escaped;
}

std::string Element(const char* name, const std::string& text)
{
    return "<" + std::string(name) + ">" + Escaped(text) + "</" + name + ">\n";
}

std::string Properties(const PuzzleMetadata& metadata)
{
    std::string text;
    const std::pair<const char*, const std::string*> kProperties[] = {
        {"id", &metadata.id},
        {"title", &metadata.title},
        {"author", &metadata.author},
        {"copyright", &metadata.copyright},
        {"description", &metadata.description},
    };
    for (const auto& [name, value] : kProperties) {
        if (!value->empty())
            text += Element(name, *value);
    }
    return text;
}

// The names that a reader of the format expects of the usual two colours,
// and a numbered name for every other.
std::string ColourName(const CTessGrid& puzzle, int index)
{
    const Colour colour = RgbOf(puzzle.m_palette[index]);
    if (index == 0)
        return colour == kWhite ? "white" : "background";
    if (index == 1 && colour == kBlack)
        return "black";
    return "colour" + std::to_string(index);
}

std::string Colours(const CTessGrid& puzzle)
{
    std::string text;
    for (int i = 0; i < ColoursToWrite(puzzle); ++i) {
        const Colour colour = puzzle.m_palette[i];
        char rgb[8];
        std::snprintf(rgb, sizeof rgb, "%02X%02X%02X", RedOf(colour), GreenOf(colour), BlueOf(colour));
        text +=
            "<color name=\"" + ColourName(puzzle, i) + "\" char=\"" + kColourCharacters[i] + "\">" + rgb + "</color>\n";
    }
    return text;
}

std::string Clues(const CTessGrid& puzzle, const char* type, const std::optional<ClueLists>& lists, int lineCount)
{
    std::string text = "<clues type=\"" + std::string(type) + "\">\n";
    for (int line = 0; line < lineCount; ++line) {
        text += "<line>";
        for (const ClueEntry clue : LineClues(lists, line)) {
            text += clue.colour == 1 ? "<count>" : "<count color=\"" + ColourName(puzzle, clue.colour) + "\">";
            text += std::to_string(clue.value) + "</count>";
        }
        text += "</line>\n";
    }
    return text + "</clues>\n";
}

std::string Goal(const Picture& picture)
{
    std::string text = "<solution type=\"goal\">\n<image>\n";
    for (int row = 0; row < picture.LineCount(); ++row) {
        text += '|';
        for (const std::uint8_t cell : picture[row])
            text += kColourCharacters[cell];
        text += "|\n";
    }
    return text + "</image>\n</solution>\n";
}

} // namespace

std::string WriteWebpbnXml(const CTessGrid& puzzle)
{
    std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<puzzleset>\n";
    text += "<puzzle type=\"grid\" backgroundcolor=\"" + ColourName(puzzle, 0) + "\" defaultcolor=\"" +
            ColourName(puzzle, 1) + "\">\n";
    text += Properties(puzzle.m_metadata);
    text += Colours(puzzle);
    text += Clues(puzzle, "columns", puzzle.m_columnClues, puzzle.m_width);
    text += Clues(puzzle, "rows", puzzle.m_rowClues, puzzle.m_height);
    if (HasPicture(puzzle))
        text += Goal(*puzzle.m_picture);
    return text + "</puzzle>\n</puzzleset>\n";
}
