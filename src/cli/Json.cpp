#include "cli/Json.h"

#include "model/Utf8.h"

#include <cstdio>

namespace {

void AppendEscaped(char c, std::string& json)
{
    if (c == '"' || c == '\\') {
        json += '\\';
        json += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
        char escape[8];
        std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
        json += escape;
    } else {
        json += c;
    }
}

} // namespace

std::string JsonString(std::string_view text)
{
    std::string json = "\"";
    while (!text.empty()) {
        const std::size_t length = WellFormedUtf8Length(text);
        if (length == 0)
            json += kReplacementCharacter;
        else if (length == 1)
            AppendEscaped(text.front(), json);
        else
            json += text.substr(0, length);
        text.remove_prefix(length == 0 ? 1 : length);
    }
    return json + "\"";
}

std::string JsonPicture(const Picture& picture)
{
    std::string text = "[";
    for (int row = 0; row < picture.LineCount(); ++row) {
        text += row ? ", " : "";
        text += JsonList(picture[row], JsonNumber);
    }
    return text + "]";
}

std::string JsonLoadFailure(const std::string& path, const CTessGrid& puzzle)
{
    const std::string refusal = puzzle.m_refusal.empty() ? "" : ", \"refusal\": " + JsonString(puzzle.m_refusal);
    return "{\"file\": " + JsonString(path) + ", \"status\": " + std::to_string(puzzle.m_status) + refusal + "}";
}
