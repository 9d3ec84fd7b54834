#include "readers/ClueText.h"
#include "readers/PublicFormats.h"

// The width and the height on the first line, then one line per row and one
// per column, each the lengths of its runs separated by spaces, "0" for a line
// without runs. Blank lines are skipped, as the solver that reads these files
// skips them.

namespace {

// Whether the text is a size line and then number lines only.
bool SizeThenNumbers(std::string_view text)
{
    CLineCursor lines(text);
    std::string_view line;
    std::int64_t first = 0;
    std::int64_t second = 0;
    if (!NextFilledLine(lines, line) || !ReadTwoCounts(line, first, second))
        return false;
    while (lines.Next(line)) {
        if (!IsNumberLine(line))
            return false;
    }
    return true;
}

} // namespace

bool LooksLikeNin(std::string_view text)
{
    return SizeThenNumbers(text);
}

bool ReadNin(std::string_view text, CPuzzleDraft& draft)
{
    CLineCursor lines(text);
    std::string_view line;
    std::int64_t width = 0;
    std::int64_t height = 0;
    NextFilledLine(lines, line);
    return ReadTwoCounts(line, width, height) && draft.CheckSize(width, height) &&
           ReadNumberLines(lines, draft.m_height, "rows", draft, draft.m_rows) &&
           ReadNumberLines(lines, draft.m_width, "columns", draft, draft.m_columns) &&
           RequireNothingMore(lines, draft);
}
