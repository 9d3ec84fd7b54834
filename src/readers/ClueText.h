#pragma once

#include "readers/PuzzleDraft.h"
#include "readers/TextLines.h"

#include <optional>
#include <string_view>

// Clue lines as the public text formats write them.

// The lengths of one line's runs, separated by any of `separators` (spaces and
// tabs around them are allowed too), each length followed by at most one
// character that names its colour. `colourOf(c, colour)` gives the colour of
// character c, '\0' standing for none written; it returns false, having
// refused in the draft, for a character the file does not define. A line
// that is only "0", or blank, has no runs.
template <typename ColourOf>
bool ReadClueItems(std::string_view line, std::string_view separators, CPuzzleDraft& draft, DraftLine& clues,
                   ColourOf colourOf)
{
    line = Trim(line);
    if (line.empty() || line == "0")
        return true;
    while (!line.empty()) {
        const std::size_t end = line.find_first_of(separators);
        const std::string_view item = Trim(line.substr(0, end));
        line = end == std::string_view::npos ? std::string_view() : Trim(line.substr(end + 1));
        const std::size_t digits = item.find_first_not_of("0123456789");
        std::int64_t length = 0;
        if (digits == 0 || !ReadCount(item.substr(0, digits == std::string_view::npos ? item.size() : digits), length))
            return draft.Refuse("a clue that is no number: " + Quoted(item));
        if (digits != std::string_view::npos && digits + 1 != item.size())
            return draft.Refuse("a clue that is no number and colour: " + Quoted(item));
        std::uint8_t colour = 0;
        if (!colourOf(digits == std::string_view::npos ? '\0' : item[digits], colour) ||
            !draft.AddClue(clues, length, colour))
            return false;
    }
    return true;
}

// The two counts of the size line such as "20 15" that the first line that is
// not blank must be; false for anything else.
bool ReadSizeLine(CLineCursor& lines, std::int64_t& first, std::int64_t& second);

// Whether a text starts with a size line (the first line that is not blank);
// `other` is then the first line after it that holds more than digits, spaces
// and tabs, if there is one.
bool SizeLineThenNumbers(std::string_view text, std::optional<std::string_view>& other);

// The next line that is not blank; false at the end of the text.
bool NextFilledLine(CLineCursor& lines, std::string_view& line);

// Reads `count` lines of plain lengths in one colour, skipping blank lines,
// into a new group of `direction` ("rows" or "columns").
bool ReadNumberLines(CLineCursor& lines, int count, const char* direction, CPuzzleDraft& draft,
                     std::optional<DraftLines>& group);

// Refuses any line but blank ones from here on.
bool RequireNothingMore(CLineCursor& lines, CPuzzleDraft& draft);
