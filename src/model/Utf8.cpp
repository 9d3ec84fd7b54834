#include "model/Utf8.h"

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

bool Within(unsigned char byte, unsigned char low, unsigned char high)
{
    return byte >= low && byte <= high;
}

} // namespace

std::size_t WellFormedUtf8Length(std::string_view text)
{
    if (text.empty())
        return 0;
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
