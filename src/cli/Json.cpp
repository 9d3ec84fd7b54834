#include "cli/Json.h"

#include <cstdio>

namespace {

// The well-formed UTF-8 sequences by their first byte (the Unicode Standard's
// table 3-7): how many bytes they have, and the range of their second byte,
// which rules out overlong forms, surrogates and code points beyond U+10FFFF.
// Every later byte is 0x80 to 0xBF.
struct SequenceForm {
    unsigned char firstLow, firstHigh;
    std::size_t length;
    unsigned char secondLow, secondHigh;
};

constexpr SequenceForm kSequenceForms[] = {
    {0x00, 0x7F, 1, 0, 0},       {0xC2, 0xDF, 2, 0x80, 0xBF}, {0xE0, 0xE0, 3, 0xA0, 0xBF},
    {0xE1, 0xEC, 3, 0x80, 0xBF}, {0xED, 0xED, 3, 0x80, 0x9F}, {0xEE, 0xEF, 3, 0x80, 0xBF},
    {0xF0, 0xF0, 4, 0x90, 0xBF}, {0xF1, 0xF3, 4, 0x80, 0xBF}, {0xF4, 0xF4, 4, 0x80, 0x8F},
};

constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";

bool Within(unsigned char byte, unsigned char low, unsigned char high)
{
    return byte >= low && byte <= high;
}

// The length of the well-formed sequence that `text` starts with; 0 when it
// starts with none.
std::size_t WellFormedLength(std::string_view text)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    for (const SequenceForm& form : kSequenceForms) {
        if (!Within(byte(0), form.firstLow, form.firstHigh))
            continue;
        if (text.size() < form.length || (form.length > 1 && !Within(byte(1), form.secondLow, form.secondHigh)))
            return 0;
        for (std::size_t i = 2; i < form.length; ++i) {
            if (!Within(byte(i), 0x80, 0xBF))
                return 0;
        }
        return form.length;
    }
    return 0;
}

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
        const std::size_t length = WellFormedLength(text);
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
