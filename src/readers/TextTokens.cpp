#include "readers/TextTokens.h"

#include <algorithm>
#include <limits>

namespace {

bool IsDelimiterOrEnd(std::string_view delimiters, char c)
{
    return c == '\0' || delimiters.find(c) != std::string_view::npos;
}

std::int64_t SizeOf(std::string_view text)
{
    return static_cast<std::int64_t>(text.size());
}

} // namespace

std::int64_t FindAnyOf(std::string_view text, std::int64_t from, std::string_view chars)
{
    for (std::int64_t i = from; i < SizeOf(text) && text[i] != '\0'; ++i) {
        if (chars.find(text[i]) != std::string_view::npos)
            return i;
    }
    return -1;
}

std::int64_t FindSequence(std::string_view text, std::int64_t from, std::string_view needle)
{
    for (std::int64_t i = from; i < SizeOf(text) && text[i] != '\0'; ++i) {
        if (text.substr(static_cast<std::size_t>(i)).starts_with(needle))
            return i;
    }
    return -1;
}

std::string NextToken(std::string_view text, std::string_view delimiters, std::int64_t& position)
{
    std::int64_t start = position;
    while (start < SizeOf(text) && IsDelimiterOrEnd(delimiters, text[start]))
        ++start;
    if (start >= SizeOf(text)) {
        position = -1;
        return {};
    }
    std::int64_t end = start;
    while (end < SizeOf(text) && text[end] != '\0' && delimiters.find(text[end]) == std::string_view::npos)
        ++end;
    const bool delimiterFollows = end < SizeOf(text) && text[end] != '\0';
    position = delimiterFollows ? end : -1;
    return std::string(text.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start)));
}

std::int32_t LeadingNumber(std::string_view token)
{
    std::size_t i = 0;
    const bool negative = i < token.size() && token[i] == '-';
    if (i < token.size() && (token[i] == '-' || token[i] == '+'))
        ++i;
    std::int64_t magnitude = 0;
    constexpr std::int64_t kBeyondRange = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 2;
    for (; i < token.size() && token[i] >= '0' && token[i] <= '9'; ++i)
        magnitude = std::min(magnitude * 10 + (token[i] - '0'), kBeyondRange);
    const std::int64_t value = negative ? -magnitude : magnitude;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}
