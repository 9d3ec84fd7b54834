#pragma once

#include "model/TessGrid.h"

#include <string>
#include <string_view>

// The pieces of the JSON that info and solve print.

// A JSON string of `text`: quotes, backslashes and control characters escaped.
// Text is taken as UTF-8, and each byte that is not part of a well-formed
// sequence (a file name may hold any bytes) becomes U+FFFD, so that the result
// is always valid JSON.
std::string JsonString(std::string_view text);

inline std::string JsonNumber(int value)
{
    return std::to_string(value);
}

template <typename Range, typename Format>
std::string JsonList(const Range& items, Format format)
{
    std::string text = "[";
    for (const auto& item : items) {
        if (text.size() > 1)
            text += ", ";
        text += format(item);
    }
    return text + "]";
}

// A picture as an array of rows, each an array of cell values.
std::string JsonPicture(const Picture& picture);

// The object for a file that did not load: its name and status, and the
// reason for a refusal when the reader gave one.
std::string JsonLoadFailure(const std::string& path, const CTessGrid& puzzle);
