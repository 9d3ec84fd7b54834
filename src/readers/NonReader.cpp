#include "readers/ClueText.h"
#include "readers/PublicFormats.h"

#include <algorithm>
#include <array>
#include <vector>

// Steve Simpson's text of keyword lines: "width W" and "height H" (or "columns
// W" and "rows H"), then "rows" and "columns", each followed by one rule per
// row or column: the lengths of its runs separated by commas, "0" for none.
// Other words start properties, such as "title", "by", "copyright" and
// "catalogue", whose text may be quoted and may hold HTML character
// references. The large collections add "license", a "goal" picture ('0' a
// blank cell, '1' a filled one, row after row) and colours: "color C #RRGGBB"
// lines, and the letter C after a length ("3b,1a") or as a goal cell.

namespace {

constexpr char kDefaultInk = '1';
constexpr char kBlankCell = '0';

// Colours for letters that the file uses without a "color" line: the file
// leaves the choice to whoever shows it.
constexpr Colour kUndeclaredColours[] = {
    MakeColour(0, 0, 0),     MakeColour(204, 0, 0),   MakeColour(0, 0, 204),   MakeColour(0, 153, 0),
    MakeColour(255, 153, 0), MakeColour(153, 0, 153), MakeColour(0, 153, 153), MakeColour(153, 102, 51),
    MakeColour(255, 102, 178), MakeColour(128, 128, 128), MakeColour(102, 204, 0), MakeColour(0, 102, 204),
    MakeColour(255, 204, 0), MakeColour(102, 0, 0),   MakeColour(0, 51, 102),  MakeColour(192, 192, 192),
};

bool IsLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsRule(std::string_view line)
{
    line = Trim(line);
    return !line.empty() && line.front() >= '0' && line.front() <= '9';
}

void AppendUtf8(std::string& text, std::uint32_t code)
{
    if (code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        code = 0xFFFD;
    if (code < 0x80) {
        text += static_cast<char>(code);
    } else if (code < 0x800) {
        text += static_cast<char>(0xC0 | code >> 6);
        text += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        text += static_cast<char>(0xE0 | code >> 12);
        text += static_cast<char>(0x80 | (code >> 6 & 0x3F));
        text += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        text += static_cast<char>(0xF0 | code >> 18);
        text += static_cast<char>(0x80 | (code >> 12 & 0x3F));
        text += static_cast<char>(0x80 | (code >> 6 & 0x3F));
        text += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// The character that a reference such as "&copy;", "&#233;" or "&#xE9;"
// stands for; false for a reference this reader does not know.
bool ReferencedCharacter(std::string_view name, std::uint32_t& code)
{
    static constexpr std::pair<std::string_view, std::uint32_t> kNamed[] = {
        {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}, {"copy", 0xA9}, {"nbsp", 0xA0},
    };
    for (const auto& [known, value] : kNamed) {
        if (name == known) {
            code = value;
            return true;
        }
    }
    if (name.size() < 2 || name.size() > 8 || name[0] != '#')
        return false;
    const bool hex = name[1] == 'x' || name[1] == 'X';
    const std::string_view digits = name.substr(hex ? 2 : 1);
    code = 0;
    for (const char c : digits) {
        const int digit = hex ? HexDigit(c) : c >= '0' && c <= '9' ? c - '0' : -1;
        if (digit < 0)
            return false;
        code = code * (hex ? 16 : 10) + static_cast<std::uint32_t>(digit);
    }
    return !digits.empty();
}

// A property's text: without its quotes, its character references replaced.
std::string PropertyText(std::string_view value)
{
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        value = value.substr(1, value.size() - 2);
    std::string text;
    while (!value.empty()) {
        const std::size_t end = value.find(';');
        std::uint32_t code = 0;
        if (value.front() == '&' && end != std::string_view::npos && ReferencedCharacter(value.substr(1, end - 1), code)) {
            AppendUtf8(text, code);
            value.remove_prefix(end + 1);
            continue;
        }
        text += value.front();
        value.remove_prefix(1);
    }
    return text;
}

// Reads a file into the draft with each clue's colour as its character ('1'
// for none written) and each goal cell as its character, and puts the palette
// together at the end, since "color" lines may come anywhere.
class CNonReader {
public:
    CNonReader(std::string_view text, CPuzzleDraft& draft) : m_lines(text), m_draft(draft) {}

    bool Read();

private:
    bool ReadLine(std::string_view word, std::string_view rest);
    bool ReadDimension(std::int64_t& dimension, std::string_view value, const char* name);
    bool ReadRules(std::optional<DraftLines>& group, std::int64_t count, const char* direction);
    bool ChooseRuleLines(std::int64_t count, const char* direction, std::vector<std::string_view>& chosen);
    bool ReadGoal(std::string_view rest);
    bool ReadColour(std::string_view rest);
    bool MakePalette();
    bool MakeColourPalette(std::array<std::uint8_t, 256>& index);
    const Colour* DeclaredColour(char c) const;
    bool UseCharacter(char c);

    CLineCursor m_lines;
    CPuzzleDraft& m_draft;
    std::int64_t m_width = -1;
    std::int64_t m_height = -1;
    std::vector<std::pair<char, Colour>> m_declared;
    std::vector<char> m_used;
    std::array<bool, 256> m_seen{};
};

bool CNonReader::Read()
{
    std::string_view line;
    while (m_lines.Next(line)) {
        std::string_view rest;
        const std::string_view word = FirstWord(line, rest);
        if (!word.empty() && !ReadLine(word, rest))
            return m_draft.Refuse(AtLine(m_lines.LineNumber(), m_draft.m_refusal));
    }
    if (m_width < 0 || m_height < 0)
        return m_draft.Refuse("no width or no height");
    return MakePalette();
}

bool CNonReader::ReadLine(std::string_view word, std::string_view rest)
{
    PuzzleMetadata& metadata = m_draft.m_metadata;
    if (word == "width" || (word == "columns" && !rest.empty()))
        return ReadDimension(m_width, rest, "width");
    if (word == "height" || (word == "rows" && !rest.empty()))
        return ReadDimension(m_height, rest, "height");
    if (word == "rows")
        return ReadRules(m_draft.m_rows, m_height, "rows");
    if (word == "columns")
        return ReadRules(m_draft.m_columns, m_width, "columns");
    if (word == "goal")
        return ReadGoal(rest);
    if (word == "color" || word == "colour")
        return ReadColour(rest);
    if (word == "title")
        metadata.title = PropertyText(rest);
    else if (word == "by" || word == "author")
        metadata.author = PropertyText(rest);
    else if (word == "copyright")
        metadata.copyright = PropertyText(rest);
    else if (word == "license" || word == "licence")
        metadata.licence = PropertyText(rest);
    else if (word == "catalogue")
        metadata.id = PropertyText(rest);
    else if (IsRule(word))
        return m_draft.Refuse("a rule outside \"rows\" and \"columns\"");
    return true;
}

bool CNonReader::ReadDimension(std::int64_t& dimension, std::string_view value, const char* name)
{
    if (dimension >= 0)
        return m_draft.Refuse(std::string("a second ") + name);
    if (!ReadCount(value, dimension))
        return m_draft.Refuse(std::string("a ") + name + " that is no number");
    const std::int64_t width = m_width < 0 ? 0 : m_width;
    const std::int64_t height = m_height < 0 ? 0 : m_height;
    return m_draft.CheckSize(width, height);
}

// The rules are the lines that start with a digit, and blank lines among them.
// The original format writes "0" for a line without runs and ignores blank
// lines; the large collections leave such a line blank. Both are read: when
// the rules that are not blank fall short, the first `count` lines are the
// rules, blank ones empty, and only blank lines may follow them.
bool CNonReader::ChooseRuleLines(std::int64_t count, const char* direction, std::vector<std::string_view>& chosen)
{
    std::vector<std::string_view> first;
    bool filledAfterFirst = false;
    std::string_view line;
    while (m_lines.Peek(line) && (IsBlank(line) || IsRule(line))) {
        m_lines.Next(line);
        const bool blank = IsBlank(line);
        if (!blank) {
            if (std::ssize(chosen) == count)
                return m_draft.Refuse(std::string("more rules than ") + direction);
            chosen.push_back(line);
            filledAfterFirst = filledAfterFirst || std::ssize(first) == count;
        }
        if (std::ssize(first) < count)
            first.push_back(line);
    }
    if (std::ssize(chosen) == count)
        return true;
    if (std::ssize(first) < count || filledAfterFirst)
        return m_draft.Refuse(std::to_string(chosen.size()) + " rules for " + std::to_string(count) + " " + direction);
    chosen = first;
    return true;
}

bool CNonReader::ReadRules(std::optional<DraftLines>& group, std::int64_t count, const char* direction)
{
    if (count < 0)
        return m_draft.Refuse(std::string("\"") + direction + "\" before the puzzle's size");
    if (group)
        return m_draft.Refuse(std::string("a second \"") + direction + "\"");
    std::vector<std::string_view> chosen;
    if (!ChooseRuleLines(count, direction, chosen))
        return false;
    DraftLines& lines = group.emplace();
    const auto colourOf = [this](char c, std::uint8_t& colour) {
        colour = static_cast<std::uint8_t>(c == '\0' ? kDefaultInk : c);
        return (c == '\0' || IsLetter(c) || m_draft.Refuse("a colour that is no letter: " + Quoted(c))) &&
               UseCharacter(static_cast<char>(colour));
    };
    for (const std::string_view rule : chosen) {
        if (!m_draft.AddLine(lines, direction) || !ReadClueItems(rule, ",", m_draft, lines.back(), colourOf))
            return false;
    }
    return true;
}

// The cells follow "goal", quoted or not, on its line and, where they do not
// fill the picture there, on the lines after it, one row to a line.
bool CNonReader::ReadGoal(std::string_view rest)
{
    if (m_width < 0 || m_height < 0)
        return m_draft.Refuse("\"goal\" before the puzzle's size");
    if (m_draft.m_picture)
        return m_draft.Refuse("a second \"goal\"");
    std::vector<std::uint8_t>& cells = m_draft.MakePicture();
    std::size_t filled = 0;
    std::string_view text = rest;
    for (;;) {
        for (const char c : text) {
            if (c == '"' || c == ' ' || c == '\t')
                continue;
            if (filled == cells.size())
                return m_draft.Refuse("more goal cells than the puzzle has");
            if (c != kBlankCell && (c != kDefaultInk && !IsLetter(c)))
                return m_draft.Refuse("a goal cell that is neither 0, 1 nor a letter: " + Quoted(c));
            if (c != kBlankCell && !UseCharacter(c))
                return false;
            cells[filled++] = static_cast<std::uint8_t>(c == kBlankCell ? 0 : c);
        }
        // Only rows of 0 and 1 continue a goal: a letter may start a keyword.
        std::string_view next;
        if (filled == cells.size() || !m_lines.Peek(next) || IsBlank(next) ||
            next.find_first_not_of("01 \t\"") != std::string_view::npos)
            break;
        m_lines.Next(text);
    }
    if (filled != cells.size())
        return m_draft.Refuse(std::to_string(filled) + " goal cells for " + std::to_string(cells.size()));
    return true;
}

bool CNonReader::ReadColour(std::string_view rest)
{
    std::string_view hex;
    const std::string_view name = FirstWord(rest, hex);
    Colour colour = 0;
    if (name.size() != 1 || !(IsLetter(name[0]) || name[0] == kBlankCell || name[0] == kDefaultInk) ||
        !ReadHexColour(hex, colour))
        return m_draft.Refuse("a \"color\" line that is not a character and #RRGGBB");
    for (const auto& declared : m_declared) {
        if (declared.first == name[0])
            return m_draft.Refuse("the colour " + Quoted(name[0]) + " given twice");
    }
    m_declared.emplace_back(name[0], colour);
    return true;
}

// Notes each character in the order of its first use; more than the palette
// holds is refused at once.
bool CNonReader::UseCharacter(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    if (m_seen[byte])
        return true;
    if (m_used.size() == kPaletteSize - 1)
        return m_draft.Refuse(std::string("more than ") + std::to_string(kPaletteSize) + " colours");
    m_used.push_back(c);
    m_seen[byte] = true;
    return true;
}

const Colour* CNonReader::DeclaredColour(char c) const
{
    for (const auto& [name, colour] : m_declared) {
        if (name == c)
            return &colour;
    }
    return nullptr;
}

// A file without "color" lines that uses one colour character at most is a
// puzzle of two colours, shown in the user's ink as the other such formats
// are. Otherwise the background is white unless "color 0" says otherwise, and
// the colours come in the order of the "color" lines, then of first use.
bool CNonReader::MakePalette()
{
    std::array<std::uint8_t, 256> index{};
    if (m_declared.empty() && m_used.size() <= 1) {
        for (const char c : m_used)
            index[static_cast<unsigned char>(c)] = 1;
    } else if (!MakeColourPalette(index)) {
        return false;
    }
    for (auto* group : {&m_draft.m_rows, &m_draft.m_columns}) {
        if (!*group)
            continue;
        for (DraftLine& line : **group) {
            for (DraftClue& clue : line)
                clue.colour = index[clue.colour];
        }
    }
    if (m_draft.m_picture) {
        for (std::uint8_t& cell : *m_draft.m_picture)
            cell = index[cell];
    }
    return true;
}

bool CNonReader::MakeColourPalette(std::array<std::uint8_t, 256>& index)
{
    const Colour* background = DeclaredColour(kBlankCell);
    if (!m_draft.AddColour(background ? *background : kWhite))
        return false;
    std::vector<char> order;
    for (const auto& declared : m_declared) {
        if (declared.first != kBlankCell)
            order.push_back(declared.first);
    }
    for (const char c : m_used) {
        if (std::ranges::find(order, c) == order.end())
            order.push_back(c);
    }
    std::size_t undeclared = 0;
    for (const char c : order) {
        const Colour* declared = DeclaredColour(c);
        if (!m_draft.AddColour(declared ? *declared : kUndeclaredColours[undeclared++ % std::size(kUndeclaredColours)]))
            return false;
        index[static_cast<unsigned char>(c)] = static_cast<std::uint8_t>(m_draft.m_palette.size() - 1);
    }
    return true;
}

} // namespace

bool LooksLikeNon(std::string_view text)
{
    CLineCursor lines(text.substr(0, kFirstLines));
    std::string_view line;
    bool width = false;
    bool height = false;
    while (lines.Next(line) && !(width && height)) {
        std::string_view rest;
        const std::string_view word = FirstWord(line, rest);
        std::int64_t count = 0;
        const bool counted = ReadCount(rest, count);
        width = width || ((word == "width" || word == "columns") && counted);
        height = height || ((word == "height" || word == "rows") && counted);
    }
    return width && height;
}

bool ReadNon(std::string_view text, CPuzzleDraft& draft)
{
    return CNonReader(text, draft).Read();
}
