#include "readers/ClueText.h"
#include "readers/PublicFormats.h"

// The height and the width on the first line, then one line per row, a line
// "#", and one line per column; each line the lengths of its runs separated by
// spaces, "0" for a line without runs. Blank lines are skipped.

namespace {

bool IsSeparator(std::string_view line)
{
    return Trim(line) == "#";
}

bool ReadSeparator(CLineCursor& lines, CPuzzleDraft& draft)
{
    std::string_view line;
    if (NextFilledLine(lines, line) && IsSeparator(line))
        return true;
    return draft.Refuse(AtLine(lines.LineNumber(), "more rows than the size line gives, or no \"#\" after them"));
}

} // namespace

bool LooksLikeMk(std::string_view text)
{
    CLineCursor lines(text);
    std::string_view line;
    std::int64_t first = 0;
    std::int64_t second = 0;
    if (!NextFilledLine(lines, line) || !ReadTwoCounts(line, first, second))
        return false;
    while (lines.Next(line)) {
        if (IsSeparator(line))
            return true;
        if (!IsNumberLine(line))
            return false;
    }
    return false;
}

bool ReadMk(std::string_view text, CPuzzleDraft& draft)
{
    CLineCursor lines(text);
    std::string_view line;
    std::int64_t width = 0;
    std::int64_t height = 0;
    NextFilledLine(lines, line);
    return ReadTwoCounts(line, height, width) && draft.CheckSize(width, height) &&
           ReadNumberLines(lines, draft.m_height, "rows", draft, draft.m_rows) && ReadSeparator(lines, draft) &&
           ReadNumberLines(lines, draft.m_width, "columns", draft, draft.m_columns) &&
           RequireNothingMore(lines, draft);
}
