#include "readers/ClueText.h"
#include "readers/PublicFormats.h"

#include <algorithm>
#include <array>
#include <cctype>

// Mirek Olšák's text. Lines before the first that starts with '#' or ':' are
// comments. A line "#d" starts the colour declarations, one a line:
// "C:O WORD comment", where C is the character written after a length, O the
// one his solver prints, and WORD an X11 colour name or #RRGGBB; C "0" is the
// background (white when not declared), C "1" the colour of a length written
// without a character. The next line that starts with ':' starts the rows, one
// line each, the lengths separated by spaces, a blank line for a row without
// runs; the next such line starts the columns, and a third ends them. "#t"
// declares a triddler, and a colour of two names joined by '/' or '\' a
// triangle: neither is a grid of squares, and both are refused.

namespace {

constexpr char kBackground = '0';
constexpr char kDefaultColour = '1';

// The X11 colour names that such files use, as the X server's rgb.txt gives them.
constexpr std::pair<std::string_view, Colour> kX11Colours[] = {
    {"black", MakeColour(0, 0, 0)},          {"white", MakeColour(255, 255, 255)},
    {"red", MakeColour(255, 0, 0)},          {"green", MakeColour(0, 255, 0)},
    {"blue", MakeColour(0, 0, 255)},         {"yellow", MakeColour(255, 255, 0)},
    {"cyan", MakeColour(0, 255, 255)},       {"magenta", MakeColour(255, 0, 255)},
    {"orange", MakeColour(255, 165, 0)},     {"pink", MakeColour(255, 192, 203)},
    {"brown", MakeColour(165, 42, 42)},      {"purple", MakeColour(160, 32, 240)},
    {"violet", MakeColour(238, 130, 238)},   {"gray", MakeColour(190, 190, 190)},
    {"grey", MakeColour(190, 190, 190)},     {"darkgreen", MakeColour(0, 100, 0)},
    {"darkblue", MakeColour(0, 0, 139)},     {"darkred", MakeColour(139, 0, 0)},
    {"navy", MakeColour(0, 0, 128)},         {"maroon", MakeColour(176, 48, 96)},
    {"gold", MakeColour(255, 215, 0)},       {"beige", MakeColour(245, 245, 220)},
    {"tan", MakeColour(210, 180, 140)},      {"lightblue", MakeColour(173, 216, 230)},
    {"lightgreen", MakeColour(144, 238, 144)}, {"lightgray", MakeColour(211, 211, 211)},
    {"lightgrey", MakeColour(211, 211, 211)}, {"darkgray", MakeColour(169, 169, 169)},
    {"darkgrey", MakeColour(169, 169, 169)}, {"skyblue", MakeColour(135, 206, 235)},
};

bool StartsWith(std::string_view line, char c)
{
    return !line.empty() && line.front() == c;
}

// "#RRGGBB", "#RGB" or an X11 name in any case.
bool ColourOfWord(std::string_view word, Colour& colour)
{
    if (word.starts_with('#'))
        return ReadHexColour(word, colour);
    for (const auto& [name, value] : kX11Colours) {
        if (std::ranges::equal(word, name, [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == b; })) {
            colour = value;
            return true;
        }
    }
    return false;
}

class COlsakReader {
public:
    COlsakReader(std::string_view text, CPuzzleDraft& draft) : m_lines(text), m_draft(draft) {}

    bool Read();

private:
    bool SkipComments(std::string_view& line);
    bool ReadColours(std::string_view& line);
    bool ReadColour(std::string_view line);
    bool ReadSection(std::optional<DraftLines>& group, const char* direction, bool& ended);
    bool ColourOf(char c, std::uint8_t& colour);
    bool Refuse(const std::string& reason) { return m_draft.Refuse(AtLine(m_lines.LineNumber(), reason)); }

    CLineCursor m_lines;
    CPuzzleDraft& m_draft;
    // The palette entry of each character written after a length; 0 for none.
    std::array<std::uint8_t, 256> m_index{};
    bool m_colours = false;
    bool m_backgroundDeclared = false;
};

bool COlsakReader::Read()
{
    std::string_view line;
    bool ended = false;
    if (!SkipComments(line) || (StartsWith(line, '#') && !ReadColours(line)))
        return false;
    if (!StartsWith(line, ':'))
        return Refuse("no rows after the colours");
    if (!ReadSection(m_draft.m_rows, "rows", ended))
        return false;
    if (ended)
        return m_draft.Refuse("no columns after the rows");
    if (!ReadSection(m_draft.m_columns, "columns", ended))
        return false;
    return m_draft.CheckSize(std::ssize(*m_draft.m_columns), std::ssize(*m_draft.m_rows));
}

bool COlsakReader::SkipComments(std::string_view& line)
{
    while (m_lines.Next(line)) {
        if (StartsWith(line, ':') || StartsWith(line, '#'))
            return true;
    }
    return m_draft.Refuse("no line that starts with ':' or '#'");
}

bool COlsakReader::ReadColours(std::string_view& line)
{
    const char kind = line.size() > 1 ? static_cast<char>(std::tolower(static_cast<unsigned char>(line[1]))) : '\0';
    if (kind == 't')
        return Refuse("a triddler, not a grid of squares");
    if (kind != 'd')
        return Refuse("a declaration other than colours (\"#d\")");
    m_colours = true;
    if (!m_draft.AddColour(kWhite))
        return false;
    while (m_lines.Next(line)) {
        if (StartsWith(line, ':'))
            return true;
        if (!IsBlank(line) && !ReadColour(Trim(line)))
            return false;
    }
    return m_draft.Refuse("no rows after the colours");
}

bool COlsakReader::ReadColour(std::string_view line)
{
    if (line.size() < 3 || line[1] != ':')
        return Refuse("a colour that is not \"C:O WORD\"");
    const char name = line[0];
    std::string_view comment;
    const std::string_view word = FirstWord(line.substr(3), comment);
    if (word.find_first_of("/\\") != std::string_view::npos)
        return Refuse("a triangle cell, not a square");
    Colour colour = 0;
    if (!ColourOfWord(word, colour))
        return Refuse("the colour " + Quoted(word) + ", neither #RRGGBB nor a name this reader knows");
    if (std::isdigit(static_cast<unsigned char>(name)) ? name != kBackground && name != kDefaultColour
                                                       : name == ' ' || name == '\t' || name == ',')
        return Refuse("the colour character " + Quoted(name));
    auto& index = m_index[static_cast<unsigned char>(name)];
    if (index != 0 || (name == kBackground && m_backgroundDeclared))
        return Refuse("the colour " + Quoted(name) + " declared twice");
    if (name == kBackground) {
        m_draft.m_palette.front() = colour;
        m_backgroundDeclared = true;
        return true;
    }
    if (!m_draft.AddColour(colour))
        return false;
    index = static_cast<std::uint8_t>(m_draft.m_palette.size() - 1);
    return true;
}

bool COlsakReader::ColourOf(char c, std::uint8_t& colour)
{
    if (!m_colours) {
        colour = 1;
        return c == '\0' || m_draft.Refuse("a colour " + Quoted(c) + " without colour declarations");
    }
    colour = m_index[static_cast<unsigned char>(c == '\0' ? kDefaultColour : c)];
    if (colour != 0)
        return true;
    return m_draft.Refuse(c == '\0' ? std::string("a length without a colour, and no default colour (\"1:\")")
                                    : "the colour " + Quoted(c) + ", which is not declared");
}

// A blank line is a line without runs, but blank lines at the very end of a
// text without a closing ':' line are only the end of the text.
bool COlsakReader::ReadSection(std::optional<DraftLines>& group, const char* direction, bool& ended)
{
    DraftLines& lines = group.emplace();
    int blanks = 0;
    const auto addBlanks = [&] {
        for (; blanks > 0; --blanks) {
            if (!m_draft.AddLine(lines, direction))
                return false;
        }
        return true;
    };
    const auto colourOf = [this](char c, std::uint8_t& colour) { return ColourOf(c, colour); };
    std::string_view line;
    while (m_lines.Next(line)) {
        if (StartsWith(line, ':'))
            return addBlanks();
        if (IsBlank(line)) {
            ++blanks;
            continue;
        }
        if (!addBlanks() || !m_draft.AddLine(lines, direction) ||
            !ReadClueItems(line, " \t", m_draft, lines.back(), colourOf))
            return m_draft.Refuse(AtLine(m_lines.LineNumber(), m_draft.m_refusal));
    }
    ended = true;
    return true;
}

} // namespace

bool LooksLikeOlsakG(std::string_view text)
{
    CLineCursor lines(text.substr(0, kFirstLines));
    std::string_view line;
    while (lines.Next(line)) {
        if (StartsWith(line, ':'))
            return true;
    }
    return false;
}

bool ReadOlsakG(std::string_view text, CPuzzleDraft& draft)
{
    return COlsakReader(text, draft).Read();
}
