#pragma once

#include <cstddef>
#include <string_view>

// Text that files give the model (names, properties) is taken as UTF-8, and
// what is written of it as JSON or XML must be well-formed: each byte that
// starts no well-formed sequence is written as U+FFFD.

inline constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";

// The length of the well-formed UTF-8 sequence that `text` starts with, 1 for
// an ASCII character; 0 when it starts with none (or is empty).
std::size_t WellFormedUtf8Length(std::string_view text);
