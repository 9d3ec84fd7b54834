#include "readers/TextLines.h"

#include <algorithm>

namespace {

bool IsSpace(char c)
{
    return c == ' ' || c == '\t';
}

std::size_t LineLength(std::string_view text)
{
    const std::size_t end = text.find_first_of("\r\n");
    return end == std::string_view::npos ? text.size() : end;
}

std::size_t EndLength(std::string_view text, std::size_t length)
{
    if (length == text.size())
        return 0;
    return text.substr(length).starts_with("\r\n") ? 2 : 1;
}

} // namespace

bool CLineCursor::Next(std::string_view& line)
{
    if (!Peek(line))
        return false;
    const std::size_t end = EndLength(m_rest, line.size());
    m_rest.remove_prefix(line.size() + end);
    // A text that ends with a line end has no empty line after it.
    m_done = end == 0 || m_rest.empty();
    ++m_lineNumber;
    return true;
}

bool CLineCursor::Peek(std::string_view& line) const
{
    if (m_done)
        return false;
    line = m_rest.substr(0, LineLength(m_rest));
    return true;
}

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && IsSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

bool IsBlank(std::string_view text)
{
    return Trim(text).empty();
}

std::string_view FirstWord(std::string_view text, std::string_view& rest)
{
    text = Trim(text);
    const auto end = std::ranges::find_if(text, IsSpace);
    const auto length = static_cast<std::size_t>(end - text.begin());
    rest = Trim(text.substr(length));
    return text.substr(0, length);
}

bool ReadCount(std::string_view text, std::int64_t& count)
{
    if (text.empty())
        return false;
    count = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return false;
        count = std::min(count * 10 + (c - '0'), kHugeCount);
    }
    return true;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
}

bool ReadHexColour(std::string_view text, Colour& colour)
{
    if (text.starts_with('#'))
        text.remove_prefix(1);
    if (text.size() != 3 && text.size() != 6)
        return false;
    const std::size_t width = text.size() / 3;
    std::uint8_t parts[3] = {};
    for (std::size_t part = 0; part < 3; ++part) {
        int value = 0;
        for (std::size_t i = 0; i < width; ++i) {
            const int digit = HexDigit(text[part * width + i]);
            if (digit < 0)
                return false;
            value = value * 16 + digit;
        }
        // One digit stands for itself twice: "f" is "ff".
        parts[part] = static_cast<std::uint8_t>(width == 1 ? value * 17 : value);
    }
    colour = MakeColour(parts[0], parts[1], parts[2]);
    return true;
}

std::string Quoted(std::string_view text)
{
    constexpr std::size_t kMostShown = 24;
    std::string quoted = "\"";
    for (const char c : text.substr(0, kMostShown))
        quoted += c >= ' ' && c <= '~' ? c : '?';
    return quoted + (text.size() > kMostShown ? "...\"" : "\"");
}

std::string Quoted(char c)
{
    return Quoted(std::string_view(&c, 1));
}

std::string AtLine(int lineNumber, const std::string& reason)
{
    return "line " + std::to_string(lineNumber) + ": " + reason;
}
