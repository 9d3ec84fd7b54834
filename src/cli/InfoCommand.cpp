#include "cli/InfoCommand.h"

#include "cli/Commands.h"
#include "cli/Json.h"

#include <cstdio>

namespace {

std::string HexColour(Colour colour)
{
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", RedOf(colour), GreenOf(colour), BlueOf(colour));
    return text;
}

// "3" for a clue of ink 1, "3/2" for another colour, "~3" when crossed out.
std::string ClueText(ClueEntry entry)
{
    std::string text = entry.value & kCrossedFlag ? "~" : "";
    text += std::to_string(entry.value & ~kCrossedFlag);
    if (entry.colour != 1)
        text += "/" + std::to_string(entry.colour);
    return text;
}

std::string DescribeClueLists(const char* title, const std::optional<ClueLists>& lists, int slots)
{
    if (!lists)
        return std::string("  ") + title + ": none\n";
    std::string text = std::string("  ") + title + " (" + std::to_string(slots) + (slots == 1 ? " slot" : " slots") + " each):\n";
    for (int line = 0; line < lists->LineCount(); ++line) {
        text += "    " + std::to_string(line + 1) + ":";
        for (ClueEntry entry : (*lists)[line]) {
            if (entry.value != 0)
                text += " " + ClueText(entry);
        }
        text += "\n";
    }
    return text;
}

char CellCharacter(std::uint8_t cell)
{
    static constexpr char kColourDigits[] = ".123456789abcdef";
    if (cell == kMarkedEmpty)
        return 'x';
    return cell < kPaletteSize ? kColourDigits[cell] : '?';
}

std::string DescribePicture(const CTessGrid& puzzle)
{
    std::string text = "  picture (. blank, x marked empty, 1-f colour):\n";
    for (int row = 0; row < puzzle.m_picture->LineCount(); ++row) {
        text += "    ";
        for (std::uint8_t cell : (*puzzle.m_picture)[row])
            text += CellCharacter(cell);
        text += "\n";
    }
    return text;
}

std::string DescribePalette(const CTessGrid& puzzle)
{
    std::string text = "  palette (* dark):";
    for (int i = 0; i < puzzle.m_colourCount; ++i)
        text += " " + std::to_string(i) + "=" + HexColour(puzzle.m_palette[i]) + (puzzle.m_darkColour[i] ? "*" : "");
    return text + "\n";
}

std::string JsonClueLists(const std::optional<ClueLists>& lists)
{
    if (!lists)
        return "null";
    std::string text = "[";
    for (int line = 0; line < lists->LineCount(); ++line) {
        text += line ? ", " : "";
        text += JsonList((*lists)[line], [](ClueEntry entry) {
            return "[" + JsonNumber(entry.value) + ", " + JsonNumber(entry.colour) + "]";
        });
    }
    return text + "]";
}

std::string JsonSettings(const DisplaySettings& settings)
{
    return "{\"options1\": " + JsonList(settings.options1, JsonNumber) +
           ", \"filledColour\": " + std::to_string(settings.filledColour) +
           ", \"options3\": " + JsonList(settings.options3, JsonNumber) + "}";
}

std::string DescribeMetadata(const PuzzleMetadata& metadata)
{
    const std::pair<const char*, const std::string*> fields[] = {
        {"title", &metadata.title},         {"author", &metadata.author}, {"copyright", &metadata.copyright},
        {"licence", &metadata.licence},     {"id", &metadata.id},         {"description", &metadata.description},
    };
    std::string text;
    for (const auto& [name, value] : fields) {
        if (!value->empty())
            text += std::string("  ") + name + ": " + OneLine(*value) + "\n";
    }
    return text;
}

std::string SizeText(const PuzzleSummary& summary)
{
    if (summary.type != "grid")
        return "a " + OneLine(summary.type) + ", not a grid";
    return std::to_string(summary.width) + " x " + std::to_string(summary.height);
}

std::string DescribePuzzleSet(const std::vector<PuzzleSummary>& set)
{
    if (set.empty())
        return {};
    std::string text = "  the file holds " + std::to_string(set.size()) + " puzzles; the first is shown:\n";
    for (std::size_t i = 0; i < set.size(); ++i) {
        text += "    " + std::to_string(i + 1) + ": \"" + OneLine(set[i].title) + "\", " + SizeText(set[i]);
        text += set[i].id.empty() ? "\n" : ", id " + OneLine(set[i].id) + "\n";
    }
    return text;
}

std::string JsonMetadata(const PuzzleMetadata& metadata)
{
    return "{\"title\": " + JsonString(metadata.title) + ", \"author\": " + JsonString(metadata.author) +
           ", \"copyright\": " + JsonString(metadata.copyright) + ", \"licence\": " + JsonString(metadata.licence) +
           ", \"id\": " + JsonString(metadata.id) + ", \"description\": " + JsonString(metadata.description) + "}";
}

std::string JsonPuzzleSet(const std::vector<PuzzleSummary>& set)
{
    return JsonList(set, [](const PuzzleSummary& summary) {
        return "{\"title\": " + JsonString(summary.title) + ", \"id\": " + JsonString(summary.id) +
               ", \"type\": " + JsonString(summary.type) + ", \"width\": " + JsonNumber(summary.width) +
               ", \"height\": " + JsonNumber(summary.height) + "}";
    });
}

} // namespace

std::string OneLine(const std::string& text)
{
    std::string line = text;
    for (char& c : line) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = ' ';
    }
    return line;
}

std::string DescribePuzzle(const std::string& path, const CTessGrid& puzzle)
{
    std::string text = path + "\n" + DescribeMetadata(puzzle.m_metadata);
    text += "  " + std::to_string(puzzle.m_width) + " columns x " + std::to_string(puzzle.m_height) + " rows, " +
            std::to_string(puzzle.m_colourCount) + " colours\n";
    text += DescribePalette(puzzle);
    text += DescribeClueLists("column clues, top to bottom", puzzle.m_columnClues, puzzle.m_columnClueMax);
    text += DescribeClueLists("row clues, left to right", puzzle.m_rowClues, puzzle.m_rowClueMax);
    return text + DescribePicture(puzzle) + DescribePuzzleSet(puzzle.m_puzzleSet);
}

std::string PuzzleJson(const std::string& path, CTessGrid& puzzle)
{
    if (puzzle.m_status != LoadOk)
        return JsonLoadFailure(path, puzzle);
    const std::string status = "{\"file\": " + JsonString(path) + ", \"status\": 0";
    const auto [layoutWidth, layoutHeight] = puzzle.LayoutExtent();
    return status + ", \"width\": " + JsonNumber(puzzle.m_width) + ", \"height\": " + JsonNumber(puzzle.m_height) +
           ", \"colourCount\": " + JsonNumber(puzzle.m_colourCount) +
           ", \"noPicture\": " + JsonNumber(puzzle.m_noPicture) +
           ", \"palette\": " + JsonList(puzzle.m_palette, [](Colour c) { return std::to_string(c); }) +
           ", \"dark\": " + JsonList(puzzle.m_darkColour, JsonNumber) +
           ", \"rowClueMax\": " + JsonNumber(puzzle.m_rowClueMax) +
           ", \"columnClueMax\": " + JsonNumber(puzzle.m_columnClueMax) +
           ", \"columnClues\": " + JsonClueLists(puzzle.m_columnClues) +
           ", \"rowClues\": " + JsonClueLists(puzzle.m_rowClues) + ", \"picture\": " + JsonPicture(*puzzle.m_picture) +
           ", \"cluesFromPicture\": " + (puzzle.m_cluesFromPicture ? "true" : "false") +
           ", \"settings\": " + JsonSettings(puzzle.m_settings) + ", \"layoutWidth\": " + JsonNumber(layoutWidth) +
           ", \"layoutHeight\": " + JsonNumber(layoutHeight) + ", \"metadata\": " + JsonMetadata(puzzle.m_metadata) +
           ", \"puzzles\": " + JsonPuzzleSet(puzzle.m_puzzleSet) + "}";
}

int RunInfo(const CommandLine& line)
{
    int exitStatus = 0;
    for (const std::string& path : line.files) {
        CTessGrid puzzle(path, line.overlay);
        if (line.json)
            std::printf("%s\n", PuzzleJson(path, puzzle).c_str());
        else if (puzzle.m_status == LoadOk)
            std::printf("%s", DescribePuzzle(path, puzzle).c_str());
        if (puzzle.m_status == LoadOk)
            continue;
        ReportLoadFailure(path, puzzle);
        if (exitStatus == 0)
            exitStatus = puzzle.m_status;
    }
    return exitStatus;
}
