#include "platform/posix/WineRegistry.h"

#include <algorithm>
#include <cctype>

// The Wine server's text format: "[key\\path] timestamp" section lines with
// backslashes doubled, then value lines such as
//   "Name"=hex:00,01,02      (a line ending in a backslash goes on in the next)
//   "Name"=dword:0000c000
//   "Name"="text"      "Name"=str(2):"text"      "Name"=hex(7):41,00,00,00
// Strings escape with backslashes (\\ \" \n \x41 \101 and the like).

namespace {

constexpr unsigned kNotAnsi = '?';
constexpr int kStringType = 1;
constexpr int kExpandStringType = 2;
constexpr int kMultiStringType = 7;

bool SameLetter(unsigned char a, unsigned char b)
{
    return std::tolower(a) == std::tolower(b);
}

class Cursor {
public:
    explicit Cursor(std::string_view text) : m_text(text) {}

    bool AtEnd() const { return m_at >= m_text.size(); }
    char Peek() const { return AtEnd() ? '\0' : m_text[m_at]; }
    char Take() { return AtEnd() ? '\0' : m_text[m_at++]; }
    bool Skip(std::string_view prefix)
    {
        if (!m_text.substr(m_at).starts_with(prefix))
            return false;
        m_at += prefix.size();
        return true;
    }
    void SkipSpaces()
    {
        while (Peek() == ' ' || Peek() == '\t')
            ++m_at;
    }

private:
    std::string_view m_text;
    std::size_t m_at = 0;
};

int HexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    const int lower = std::tolower(static_cast<unsigned char>(c));
    return lower >= 'a' && lower <= 'f' ? lower - 'a' + 10 : -1;
}

// Reads up to `maxDigits` digits of `base` (8 or 16); false when there is none.
bool ReadNumber(Cursor& cursor, int base, int maxDigits, unsigned& value)
{
    value = 0;
    int digits = 0;
    for (; digits < maxDigits; ++digits) {
        const int digit = HexDigitValue(cursor.Peek());
        if (digit < 0 || digit >= base)
            break;
        value = value * static_cast<unsigned>(base) + static_cast<unsigned>(digit);
        cursor.Take();
    }
    return digits > 0;
}

unsigned EscapedCharacter(Cursor& cursor)
{
    unsigned value = 0;
    if (ReadNumber(cursor, 8, 3, value))
        return value;
    const char c = cursor.Take();
    switch (c) {
    case 'a': return '\a';
    case 'b': return '\b';
    case 'e': return 0x1B;
    case 'f': return '\f';
    case 'n': return '\n';
    case 'r': return '\r';
    case 't': return '\t';
    case 'v': return '\v';
    case 'x': return ReadNumber(cursor, 16, 4, value) ? value : 'x';
    default: return static_cast<unsigned char>(c);
    }
}

// Reads an escaped string, already opened, up to its unescaped `close`.
// Characters beyond one byte have no ANSI form and become "?".
bool ReadEscaped(Cursor& cursor, char close, std::string& out)
{
    while (!cursor.AtEnd()) {
        const char c = cursor.Take();
        if (c == close)
            return true;
        const unsigned character = c == '\\' ? EscapedCharacter(cursor) : static_cast<unsigned char>(c);
        out.push_back(static_cast<char>(character > 0xFF ? kNotAnsi : character));
    }
    return false;
}

// "aa,bb,..." up to the first character that does not fit.
std::vector<std::uint8_t> ReadHexBytes(Cursor& cursor)
{
    std::vector<std::uint8_t> bytes;
    unsigned byte = 0;
    do {
        cursor.SkipSpaces();
        if (!ReadNumber(cursor, 16, 2, byte))
            break;
        bytes.push_back(static_cast<std::uint8_t>(byte));
        cursor.SkipSpaces();
    } while (cursor.Skip(","));
    return bytes;
}

// An ANSI query turns the UTF-16 text of the string types into narrow text.
std::vector<std::uint8_t> AnsiFromUtf16(const std::vector<std::uint8_t>& wide)
{
    std::vector<std::uint8_t> narrow;
    for (std::size_t i = 0; i + 1 < wide.size(); i += 2) {
        const unsigned character = wide[i] | unsigned{wide[i + 1]} << 8;
        narrow.push_back(static_cast<std::uint8_t>(character > 0xFF ? kNotAnsi : character));
    }
    return narrow;
}

std::optional<std::vector<std::uint8_t>> ReadQuotedData(Cursor& cursor)
{
    std::string text;
    if (!cursor.Skip("\"") || !ReadEscaped(cursor, '"', text))
        return std::nullopt;
    std::vector<std::uint8_t> bytes(text.begin(), text.end());
    bytes.push_back(0);
    return bytes;
}

std::optional<std::vector<std::uint8_t>> ReadValueData(Cursor& cursor)
{
    unsigned number = 0;
    if (cursor.Peek() == '"')
        return ReadQuotedData(cursor);
    if (cursor.Skip("str(")) {
        if (!ReadNumber(cursor, 16, 8, number) || !cursor.Skip("):"))
            return std::nullopt;
        return ReadQuotedData(cursor);
    }
    if (cursor.Skip("dword:")) {
        if (!ReadNumber(cursor, 16, 8, number))
            return std::nullopt;
        return std::vector<std::uint8_t>{static_cast<std::uint8_t>(number), static_cast<std::uint8_t>(number >> 8),
                                         static_cast<std::uint8_t>(number >> 16),
                                         static_cast<std::uint8_t>(number >> 24)};
    }
    if (cursor.Skip("hex:"))
        return ReadHexBytes(cursor);
    if (cursor.Skip("hex(")) {
        if (!ReadNumber(cursor, 16, 8, number) || !cursor.Skip("):"))
            return std::nullopt;
        const std::vector<std::uint8_t> bytes = ReadHexBytes(cursor);
        const bool isText = number == kStringType || number == kExpandStringType || number == kMultiStringType;
        return isText ? AnsiFromUtf16(bytes) : bytes;
    }
    return std::nullopt;
}

// `"Name"=data` or `@=data` (the key's unnamed value).
void ReadValueLine(std::string_view line, RegistryValues& values)
{
    Cursor cursor(line);
    std::string name;
    if (!cursor.Skip("@") && !(cursor.Skip("\"") && ReadEscaped(cursor, '"', name)))
        return;
    cursor.SkipSpaces();
    if (!cursor.Skip("="))
        return;
    cursor.SkipSpaces();
    if (std::optional<std::vector<std::uint8_t>> data = ReadValueData(cursor))
        values[name] = std::move(*data);
}

std::optional<std::string> SectionName(std::string_view line)
{
    Cursor cursor(line);
    std::string name;
    if (!cursor.Skip("[") || !ReadEscaped(cursor, ']', name))
        return std::nullopt;
    return name;
}

// Calls `use` with each line, a line that ends in a backslash joined with the
// next one (whose leading blanks are dropped).
template <typename Use>
void ForEachLogicalLine(std::string_view text, Use use)
{
    std::string joined;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        if (!joined.empty())
            line.remove_prefix(std::min(line.find_first_not_of(" \t"), line.size()));
        joined.append(line);
        if (joined.ends_with('\\')) {
            joined.pop_back();
            continue;
        }
        use(std::string_view(joined));
        joined.clear();
    }
    if (!joined.empty())
        use(std::string_view(joined));
}

} // namespace

bool IgnoringCaseLess::operator()(std::string_view a, std::string_view b) const
{
    return std::ranges::lexicographical_compare(a, b, [](unsigned char x, unsigned char y) {
        return std::tolower(x) < std::tolower(y);
    });
}

// Wine loads every section of the file in turn, so a key named by several
// sections (a hand-edited or concatenated file) holds all their values, and a
// value set again later takes the later data.
std::optional<RegistryValues> ReadWineRegistryKey(std::string_view text, std::string_view keyPath)
{
    std::optional<RegistryValues> found;
    bool inKey = false;
    ForEachLogicalLine(text, [&](std::string_view line) {
        if (line.starts_with('[')) {
            const std::optional<std::string> name = SectionName(line);
            inKey = name && std::ranges::equal(*name, keyPath, SameLetter);
            if (inKey && !found)
                found.emplace();
        } else if (inKey) {
            ReadValueLine(line, *found);
        }
    });
    return found;
}
