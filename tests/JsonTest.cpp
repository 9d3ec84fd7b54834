// The one writer of JSON strings: what it escapes, and that any bytes give
// valid JSON while well-formed UTF-8 comes through unchanged.
#include "cli/Json.h"

#include <gtest/gtest.h>

namespace {

const std::string kReplacement = "\xEF\xBF\xBD";

TEST(JsonString, EscapesQuotesBackslashesAndControlCharacters)
{
    EXPECT_EQ(JsonString("a \"b\" c:\\d"), "\"a \\\"b\\\" c:\\\\d\"");
    EXPECT_EQ(JsonString(std::string("\x01\n\t\x1F\x7F", 5)), "\"\\u0001\\u000a\\u0009\\u001f\x7F\"");
    EXPECT_EQ(JsonString(std::string("a\0b", 3)), "\"a\\u0000b\"");
}

TEST(JsonString, KeepsWellFormedUtf8)
{
    // The first and last code point of each length and around the surrogates.
    for (const char* text : {"\xC2\x80", "\xDF\xBF", "\xE0\xA0\x80", "\xED\x9F\xBF", "\xEE\x80\x80", "\xEF\xBF\xBF",
                             "\xF0\x90\x80\x80", "\xF4\x8F\xBF\xBF", "R\xC3\xA4tsel \xE2\x82\xAC \xF0\x9D\x84\x9E"})
        EXPECT_EQ(JsonString(text), "\"" + std::string(text) + "\"") << text;
}

TEST(JsonString, ReplacesEachByteOfAnIllFormedSequence)
{
    const auto replaced = [](int bytes, const std::string& after = "") {
        std::string json = "\"";
        for (int i = 0; i < bytes; ++i)
            json += kReplacement;
        return json + after + "\"";
    };
    EXPECT_EQ(JsonString("\x80"), replaced(1));
    EXPECT_EQ(JsonString("\xFF\xFE"), replaced(2));
    // Overlong forms, a surrogate, beyond U+10FFFF.
    EXPECT_EQ(JsonString("\xC0\xAF"), replaced(2));
    EXPECT_EQ(JsonString("\xE0\x9F\xBF"), replaced(3));
    EXPECT_EQ(JsonString("\xED\xA0\x80"), replaced(3));
    EXPECT_EQ(JsonString("\xF4\x90\x80\x80"), replaced(4));
    // Cut short, at the end or by another character.
    EXPECT_EQ(JsonString("\xE2\x82"), replaced(2));
    EXPECT_EQ(JsonString("\xF0\x9D\x84\"x"), replaced(3, "\\\"x"));
}

} // namespace
