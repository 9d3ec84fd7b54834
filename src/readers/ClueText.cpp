#include "readers/ClueText.h"

bool ReadSizeLine(CLineCursor& lines, std::int64_t& first, std::int64_t& second)
{
    std::string_view line;
    if (!NextFilledLine(lines, line))
        return false;
    std::string_view rest;
    const std::string_view firstWord = FirstWord(line, rest);
    std::string_view nothing;
    const std::string_view secondWord = FirstWord(rest, nothing);
    return nothing.empty() && ReadCount(firstWord, first) && ReadCount(secondWord, second);
}

bool SizeLineThenNumbers(std::string_view text, std::optional<std::string_view>& other)
{
    CLineCursor lines(text);
    std::int64_t first = 0;
    std::int64_t second = 0;
    if (!ReadSizeLine(lines, first, second))
        return false;
    std::string_view line;
    while (lines.Next(line)) {
        if (line.find_first_not_of("0123456789 \t") != std::string_view::npos) {
            other = line;
            break;
        }
    }
    return true;
}

bool NextFilledLine(CLineCursor& lines, std::string_view& line)
{
    while (lines.Next(line)) {
        if (!IsBlank(line))
            return true;
    }
    return false;
}

bool ReadNumberLines(CLineCursor& lines, int count, const char* direction, CPuzzleDraft& draft,
                     std::optional<DraftLines>& group)
{
    DraftLines& read = group.emplace();
    const auto inkOnly = [&](char c, std::uint8_t& colour) {
        colour = 1;
        return c == '\0' || draft.Refuse("a colour in a format without colours: " + Quoted(c));
    };
    for (int i = 0; i < count; ++i) {
        std::string_view line;
        if (!NextFilledLine(lines, line))
            return draft.Refuse("the text ends after " + std::to_string(i) + " of " + std::to_string(count) + " " +
                                direction);
        if (!draft.AddLine(read, direction) || !ReadClueItems(line, " \t", draft, read.back(), inkOnly))
            return draft.Refuse(AtLine(lines.LineNumber(), draft.m_refusal));
    }
    return true;
}

bool RequireNothingMore(CLineCursor& lines, CPuzzleDraft& draft)
{
    std::string_view line;
    if (NextFilledLine(lines, line))
        return draft.Refuse(AtLine(lines.LineNumber(), "more lines than the puzzle has rows and columns"));
    return true;
}
