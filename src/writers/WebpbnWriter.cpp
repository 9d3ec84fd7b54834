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

// The length of the UTF-8 sequence that starts `text` at `i`, or 0 when the
// bytes there are no well-formed sequence.
std::size_t Utf8Length(const std::string& text, std::size_t i)
{
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF)
        length = 3, low = lead == 0xE0 ? 0xA0 : 0x80, high = lead == 0xED ? 0x9F : 0xBF;
    else if (lead >= 0xF0 && lead <= 0xF4)
        length = 4, low = lead == 0xF0 ? 0x90 : 0x80, high = lead == 0xF4 ? 0x8F : 0xBF;
    if (length == 0 || i + length > text.size() || byte(i + 1) < low || byte(i + 1) > high)
        return 0;
    for (std::size_t k = 2; k < length; ++k) {
        if (byte(i + k) < 0x80 || byte(i + k) > 0xBF)
            return 0;
    }
    return length;
}

// Text as XML 1.0 takes it in an element or a quoted attribute. Bytes that
// are not UTF-8, and control characters that XML forbids, become U+FFFD: the
// text formats keep a property's bytes as the file gave them.
std::string Escaped(const std::string& text)
{
    std::string escaped;
    for (std::size_t i = 0; i < text.size();) {
        const char c = text[i];
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x80) {
            const std::size_t length = Utf8Length(text, i);
            escaped += length ? text.substr(i, length) : "\xEF\xBF\xBD";
            i += length ? length : 1;
            continue;
        }
        ++i;
        switch (c) {
        case '&': escaped += "&amp;"; break;
        case '<': escaped += "&lt;"; break;
        case '>': escaped += "&gt;"; break;
        case '"': escaped += "&quot;"; break;
        // A parser reads a raw CR as a line feed.
        case '\r': escaped += "&#13;"; break;
        default: escaped += byte < 0x20 && c != '\t' && c != '\n' ? "\xEF\xBF\xBD" : std::string(1, c);
        }
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
        text += "<color name=\"" + ColourName(puzzle, i) + "\" char=\"" + kColourCharacters[i] + "\">" + rgb +
                "</color>\n";
    }
    return text;
}

std::string Clues(const CTessGrid& puzzle, const char* type, const std::optional<ClueLists>& lists, int lineCount)
{
    std::string text = "<clues type=\"" + std::string(type) + "\">\n";
    for (int line = 0; line < lineCount; ++line) {
        text += "<line>";
        for (const ClueEntry clue : LineClues(lists, line)) {
            text += clue.colour == 1 ? "<count>"
                                     : "<count color=\"" + ColourName(puzzle, clue.colour) + "\">";
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
