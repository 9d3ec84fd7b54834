#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Text scanning shared by the text readers. A byte 0 ends every search, as it
// ends a C string.

// Index of the first byte at or after `from` that is one of `chars`, or -1.
std::int64_t FindAnyOf(std::string_view text, std::int64_t from, std::string_view chars);

// Index of the first occurrence of `needle` at or after `from`, or -1.
std::int64_t FindSequence(std::string_view text, std::int64_t from, std::string_view needle);

// Cuts the next token out of `text`, starting at `position` (0 or more).
// Leaves `position` on the delimiter after the token, or at -1 when no
// delimiter follows it or no token is left (then the result is empty).
std::string NextToken(std::string_view text, std::string_view delimiters, std::int64_t& position);

// The decimal number at the start of `token`: optional sign, then digits, up to
// the first other character; 0 without digits; clamped to the signed 32-bit range.
std::int32_t LeadingNumber(std::string_view token);

// The text formats are read whole into memory, and the host offers the viewer
// any file under their extensions. The largest real puzzle text (255 x 255 with
// every clue written as a two-digit item, plus the picture) is under 0.5 MiB,
// so a text beyond 16 MiB is refused as not being a puzzle, before anything is
// allocated for it.
inline constexpr std::uint64_t kMaxPuzzleTextBytes = 16 * 1024 * 1024;

// A clue list length is one byte, so a line with more clues cannot be stored.
inline constexpr int kMaxCluesPerLine = 255;
