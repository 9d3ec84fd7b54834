#include "readers/ClueText.h"
#include "readers/PublicFormats.h"

// The width and the height on the first line, then one line per row and one
// per column, each the lengths of its runs separated by spaces, "0" for a line
// without runs. Blank lines are skipped, as the solver that reads these files
// skips them.

bool LooksLikeNin(std::string_view text)
{
    std::optional<std::string_view> other;
    return SizeLineThenNumbers(text, other) && !other;
}

bool ReadNin(std::string_view text, CPuzzleDraft& draft)
{
    CLineCursor lines(text);
    std::int64_t width = 0;
    std::int64_t height = 0;
    if (!ReadSizeLine(lines, width, height))
        return draft.Refuse("no line of the width and the height first");
    return draft.CheckSize(width, height) &&
           ReadNumberLines(lines, draft.m_height, "rows", draft, draft.m_rows) &&
           ReadNumberLines(lines, draft.m_width, "columns", draft, draft.m_columns) &&
           RequireNothingMore(lines, draft);
}
