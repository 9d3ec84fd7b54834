#include "writers/PuzzleFormats.h"

#include "readers/PathExtension.h"
#include "solver/PuzzleClues.h"
#include "writers/PuzzleContents.h"
#include "writers/PuzzleWriters.h"

#include <algorithm>
#include <bitset>
#include <cctype>

namespace {

// A .pp clue is one digit, or "." and two.
constexpr int kLongestPpClue = 99;

struct FormatEntry {
    PuzzleFormat format;
    std::string_view name;
    std::string_view extension;
    std::string_view description;
    // Holds a palette of its own; else the background and the user's ink.
    bool colours;
    bool crossed;
    bool picture;
    bool marks;
    int longestClue;
    std::string (*write)(const CTessGrid& puzzle);
};

constexpr FormatEntry kFormats[] = {
    {PuzzleFormat::Native, "native", ".tessa", "a native file", true, true, true, true, kLongestStoredRun,
     WriteNativeFile},
    {PuzzleFormat::Tgp, "tgp", ".tgp", "a .tgp file", false, true, false, false, kLongestStoredRun, WriteTgpFile},
    {PuzzleFormat::Pp, "pp", ".pp", "a .pp file", false, false, true, true, kLongestPpClue, WritePpFile},
    {PuzzleFormat::Non, "non", ".non", "a .non file", true, false, true, false, kLongestStoredRun, WriteNonFile},
    {PuzzleFormat::WebpbnXml, "xml", ".xml", "webpbn XML", true, false, true, false, kLongestStoredRun, WriteWebpbnXml},
};

constexpr std::pair<std::string_view, PuzzleFormat> kWrittenExtensions[] = {
    {".tgp", PuzzleFormat::Tgp}, {".pp", PuzzleFormat::Pp},   {".ppc", PuzzleFormat::Pp},
    {".pps", PuzzleFormat::Pp},  {".non", PuzzleFormat::Non}, {".xml", PuzzleFormat::WebpbnXml},
};
constexpr std::string_view kReadOnlyExtensions[] = {".tgr", ".tgw", ".nin", ".g", ".mk"};

constexpr std::pair<std::string_view, DropItem> kDropItems[] = {
    {"picture", kDropPicture}, {"crossed", kDropCrossed}, {"marks", kDropMarks}, {"others", kDropOthers}};

const FormatEntry& EntryOf(PuzzleFormat format)
{
    return *std::ranges::find(kFormats, format, &FormatEntry::format);
}

std::string LowerCase(std::string text)
{
    std::ranges::transform(text, text.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// What the clues and the picture hold that a format may not, each kind
// noted once, at its first place.
class CContentsCheck {
public:
    CContentsCheck(const FormatEntry& format, unsigned drops) : m_format(format), m_drops(drops) {}

    void CheckClues(const std::optional<ClueLists>& lists, bool rows);
    void CheckPicture(const Picture& picture);
    void AddReasons(std::vector<std::string>& reasons) const;

private:
    void CheckClue(ClueEntry clue, bool rows, int line);
    // `what` is "a clue" or "a cell", of `line` of the rows or the columns.
    void CheckColour(std::uint8_t colour, const char* what, bool rows, int line);
    std::string Hint(const char* item) const { return std::string(" (--drop ") + item + " leaves them out)"; }

    const FormatEntry& m_format;
    unsigned m_drops;
    std::bitset<kPaletteSize> m_inks;
    std::string m_crossed;
    std::string m_long;
    std::string m_tgpLine;
    std::string m_noColour;
    bool m_marks = false;
};

void CContentsCheck::CheckClues(const std::optional<ClueLists>& lists, bool rows)
{
    const int lineCount = lists ? lists->LineCount() : 0;
    for (int line = 0; line < lineCount; ++line) {
        std::vector<ClueEntry> clues;
        for (ClueEntry clue : LineClues(lists, line)) {
            if (m_drops & kDropCrossed)
                clue.value &= ~kCrossedFlag;
            if (clue.value != 0) {
                CheckClue(clue, rows, line);
                clues.push_back(clue);
            }
        }
        if (m_format.format == PuzzleFormat::Tgp && m_tgpLine.empty()) {
            const std::string problem = TgpLineProblem(clues);
            if (!problem.empty())
                m_tgpLine = problem + " in " + LineName(rows, line);
        }
    }
}

void CContentsCheck::CheckClue(ClueEntry clue, bool rows, int line)
{
    const int length = clue.value & ~kCrossedFlag;
    if ((clue.value & kCrossedFlag) && !m_format.crossed && m_crossed.empty())
        m_crossed = LineName(rows, line);
    if (length > m_format.longestClue && m_long.empty())
        m_long = "a clue of " + std::to_string(length) + " in " + LineName(rows, line);
    if (clue.colour == 0 && m_noColour.empty() && m_format.format != PuzzleFormat::Native)
        m_noColour = "a clue in " + LineName(rows, line) + " has colour 0, the background";
    CheckColour(clue.colour, "a clue", rows, line);
}

// A colour beyond the palette stands for the background; only a native file
// keeps it as it is.
void CContentsCheck::CheckColour(std::uint8_t colour, const char* what, bool rows, int line)
{
    if (colour >= kPaletteSize && m_noColour.empty() && m_format.format != PuzzleFormat::Native)
        m_noColour = std::string(what) + " in " + LineName(rows, line) + " has colour " + std::to_string(colour) +
                     ", which has no palette entry";
    else if (colour > 0 && colour < kPaletteSize)
        m_inks.set(colour);
}

void CContentsCheck::CheckPicture(const Picture& picture)
{
    for (int row = 0; row < picture.LineCount(); ++row) {
        for (const std::uint8_t cell : picture[row]) {
            if (cell == kMarkedEmpty)
                m_marks = m_marks || ((m_drops & kDropMarks) == 0 && !m_format.marks);
            else
                CheckColour(cell, "a cell", true, row);
        }
    }
}

void CContentsCheck::AddReasons(std::vector<std::string>& reasons) const
{
    const std::string format(m_format.description);
    if (!m_format.colours && (m_inks.count() > 1 || (m_inks.any() && !m_inks.test(1))))
        reasons.push_back("it is in colour, and " + format + " has the background and one ink");
    if (!m_noColour.empty())
        reasons.push_back(m_noColour);
    if (!m_long.empty())
        reasons.push_back(m_long + ", and a clue of " + format + " holds at most " +
                          std::to_string(m_format.longestClue));
    if (!m_crossed.empty())
        reasons.push_back("it has crossed-out clues (the first in " + m_crossed + "), which " + format +
                          " cannot hold" + Hint("crossed"));
    if (!m_tgpLine.empty())
        reasons.push_back(m_tgpLine + ", which a .tgp line cannot hold" + Hint("crossed"));
    if (m_marks)
        reasons.push_back("its picture has cells marked empty, which " + format + " cannot hold" + Hint("marks"));
}

// Clues made from a picture store a longer run at kLongestStoredRun, so that
// only the picture knows its length; a native file then stores the picture
// alone, and its reader makes the clues again.
void CheckCutRuns(const CTessGrid& puzzle, const FormatEntry& format, unsigned drops, std::vector<std::string>& reasons)
{
    const bool pictureKept = format.format == PuzzleFormat::Native && (drops & kDropPicture) == 0;
    if (pictureKept || !puzzle.m_cluesFromPicture)
        return;
    const PuzzleClues clues = CluesOf(puzzle);
    for (const bool rows : {true, false}) {
        const std::vector<int> lines = LinesWithLongRuns(rows ? clues.rows : clues.columns);
        if (!lines.empty()) {
            reasons.push_back("its clues come from its picture, which has a run of more than " +
                              std::to_string(kLongestStoredRun) + " cells in " + LineName(rows, lines.front()) +
                              ", longer than a clue holds");
            return;
        }
    }
}

} // namespace

std::optional<PuzzleFormat> FormatNamed(std::string_view name)
{
    const auto entry = std::ranges::find(kFormats, name, &FormatEntry::name);
    if (entry == std::end(kFormats))
        return std::nullopt;
    return entry->format;
}

std::optional<PuzzleFormat> FormatOfFileName(const std::string& path)
{
    const std::string extension = LowerCase(FindExtension(path));
    if (std::ranges::find(kReadOnlyExtensions, extension) != std::end(kReadOnlyExtensions))
        return std::nullopt;
    const auto written =
        std::ranges::find(kWrittenExtensions, extension, &std::pair<std::string_view, PuzzleFormat>::first);
    return written == std::end(kWrittenExtensions) ? PuzzleFormat::Native : written->second;
}

std::string_view ExtensionOf(PuzzleFormat format)
{
    return EntryOf(format).extension;
}

std::string_view DescriptionOf(PuzzleFormat format)
{
    return EntryOf(format).description;
}

std::optional<unsigned> DropItemsNamed(std::string_view list)
{
    unsigned drops = 0;
    for (;;) {
        const std::size_t comma = list.find(',');
        const std::string_view name = list.substr(0, comma);
        const auto item = std::ranges::find(kDropItems, name, &std::pair<std::string_view, DropItem>::first);
        if (item == std::end(kDropItems))
            return std::nullopt;
        drops |= item->second;
        if (comma == std::string_view::npos)
            return drops;
        list.remove_prefix(comma + 1);
    }
}

std::vector<std::string> WhatCannotBeWritten(const CTessGrid& puzzle, PuzzleFormat format, unsigned drops)
{
    const FormatEntry& entry = EntryOf(format);
    std::vector<std::string> reasons;
    if (puzzle.m_puzzleSet.size() > 1 && (drops & kDropOthers) == 0)
        reasons.push_back("the file holds " + std::to_string(puzzle.m_puzzleSet.size()) +
                          " puzzles, and a converted file only the first (--drop others writes it alone)");
    const bool picture = HasPicture(puzzle) && (drops & kDropPicture) == 0;
    // A blank picture shows as no picture does: leaving it out loses nothing.
    const bool blank = std::ranges::all_of(puzzle.m_picture->Items(), [](std::uint8_t cell) { return cell == 0; });
    if (picture && !entry.picture && !blank)
        reasons.push_back("it holds a picture, which " + std::string(entry.description) +
                          " cannot hold (--drop picture leaves it out)");
    CContentsCheck check(entry, drops);
    check.CheckClues(puzzle.m_columnClues, false);
    check.CheckClues(puzzle.m_rowClues, true);
    if (picture && entry.picture)
        check.CheckPicture(*puzzle.m_picture);
    check.AddReasons(reasons);
    CheckCutRuns(puzzle, entry, drops, reasons);
    return reasons;
}

void DropFromPuzzle(CTessGrid& puzzle, unsigned drops)
{
    const auto cells = puzzle.m_picture->Items();
    if (drops & kDropPicture) {
        std::ranges::fill(cells, 0);
        puzzle.m_noPicture = 1;
        puzzle.m_cluesFromPicture = false;
    }
    if (drops & kDropMarks)
        std::ranges::replace(cells, kMarkedEmpty, 0);
    if (drops & kDropCrossed) {
        for (auto* lists : {&puzzle.m_columnClues, &puzzle.m_rowClues}) {
            if (!*lists)
                continue;
            for (ClueEntry& clue : (*lists)->Items()) {
                clue.value &= ~kCrossedFlag;
                if (clue.value == 0)
                    clue.colour = 0;
            }
        }
        puzzle.JustifyClues();
    }
    if (drops & kDropOthers)
        puzzle.m_puzzleSet.clear();
}

std::string WritePuzzle(const CTessGrid& puzzle, PuzzleFormat format)
{
    return EntryOf(format).write(puzzle);
}
