#pragma once

#include "model/Colour.h"

#include <cstdint>
#include <string>
#include <string_view>

// Line by line through the texts of the public formats, without copying them.

// A line ends at LF, CR LF or a lone CR; the last line needs no end.
class CLineCursor {
public:
    explicit CLineCursor(std::string_view text) : m_rest(text) {}

    // The next line, without its end; false after the last one.
    bool Next(std::string_view& line);
    // Looks at the next line without moving past it.
    bool Peek(std::string_view& line) const;
    // The number of the line that Next gave last, from 1.
    int LineNumber() const { return m_lineNumber; }

private:
    std::string_view m_rest;
    bool m_done = false;
    int m_lineNumber = 0;
};

// Without the spaces and tabs at either end.
std::string_view Trim(std::string_view text);
bool IsBlank(std::string_view text);

// Splits off the first word (up to a space or tab) and leaves `rest` trimmed.
std::string_view FirstWord(std::string_view text, std::string_view& rest);

// A count written as decimal digits alone. Counts beyond any size a puzzle can
// have are kept at kHugeCount, so that they are refused as too large.
inline constexpr std::int64_t kHugeCount = 1'000'000'000;
bool ReadCount(std::string_view text, std::int64_t& count);

// A hexadecimal digit's value, or -1.
int HexDigit(char c);

// An RGB colour written "#RRGGBB" or "#RGB", the '#' optional.
bool ReadHexColour(std::string_view text, Colour& colour);

// A piece of the file's text in quotes for a refusal's reason: at most a few
// characters, each that is not printable ASCII as '?', so that no file puts
// control characters or much of itself on the command's line.
std::string Quoted(std::string_view text);
std::string Quoted(char c);

// "line N: " for a refusal that names where the text went wrong.
std::string AtLine(int lineNumber, const std::string& reason);
