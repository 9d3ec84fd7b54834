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
    std::optional<std::string_view> other;
    return SizeLineThenNumbers(text, other) && other && IsSeparator(*other);
}

bool ReadMk(std::string_view text, CPuzzleDraft& draft)
{
    CLineCursor lines(text);
    std::int64_t width = 0;
    std::int64_t height = 0;
    if (!ReadSizeLine(lines, height, width))
        return draft.Refuse("no line of the height and the width first");
    return draft.CheckSize(width, height) &&
           ReadNumberLines(lines, draft.m_height, "rows", draft, draft.m_rows) && ReadSeparator(lines, draft) &&
           ReadNumberLines(lines, draft.m_width, "columns", draft, draft.m_columns) &&
           RequireNothingMore(lines, draft);
}
