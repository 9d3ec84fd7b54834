#include "readers/PublicFormats.h"
#include "readers/TextLines.h"
#include "readers/XmlParser.h"

#include <algorithm>

// The web Paint-by-Number site's XML, version 0.3: a <puzzleset> of one or
// more <puzzle> elements. A puzzle of type "grid" names its colours (<color
// name="black" char="X">000</color>, RGB in 3 or 6 hex digits; "black" with
// "X" and "white" with "." exist without being named), which of them is the
// background (backgroundcolor, "white" unless given) and which colour a count
// without one has (defaultcolor, "black" unless given). Its clues are
// <clues type="rows"> and <clues type="columns">, a <line> of <count
// color="..."> per row or column; its goal picture is a <solution
// type="goal"> whose <image> writes each row between '|' characters, one
// colour character per cell. Either may be missing: a puzzle without clues
// gets them from its goal. A set of several puzzles shows the first; all of
// them are listed.

namespace {

// Far deeper than the format nests (puzzleset, puzzle, clues, line, count).
constexpr std::size_t kMaxDepth = 16;

struct NamedColour {
    std::string name;
    char character;
};

struct PredefinedColour {
    std::string_view name;
    char character;
    Colour rgb;
};

constexpr PredefinedColour kPredefined[] = {
    {"black", 'X', MakeColour(0, 0, 0)},
    {"white", '.', MakeColour(255, 255, 255)},
};

std::string_view AttributeOf(const XmlAttributes& attributes, std::string_view name, std::string_view fallback = {})
{
    for (const auto& [key, value] : attributes) {
        if (key == name)
            return value;
    }
    return fallback;
}

// Text with white space at either end, line breaks included, taken away.
std::string Tidy(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos)
        return {};
    return std::string(text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1));
}

// The rows of a goal image: each between two '|', white space between rows.
bool ImageRows(std::string_view image, std::vector<std::string_view>& rows, CPuzzleDraft& draft)
{
    for (;;) {
        const std::size_t start = image.find_first_not_of(" \t\r\n");
        if (start == std::string_view::npos)
            return true;
        const std::size_t end = image.find('|', start + 1);
        if (image[start] != '|' || end == std::string_view::npos)
            return draft.Refuse("a goal image whose rows do not stand between '|' characters");
        if (rows.size() == kMaxLines)
            return draft.Refuse(std::string("a goal image of more than ") + std::to_string(kMaxLines) + " rows");
        rows.push_back(image.substr(start + 1, end - start - 1));
        image.remove_prefix(end + 1);
    }
}

// One <puzzle> as it is read. Only the first of a set is read whole, into the
// draft; of the others only what the list of the set shows is kept.
class CWebpbnHandler final : public CXmlHandler {
public:
    explicit CWebpbnHandler(CPuzzleDraft& draft) : m_draft(draft) {}

    bool StartElement(std::string_view name, const XmlAttributes& attributes) override;
    bool EndElement(std::string_view name) override;
    bool Text(std::string_view text) override;

    bool Finish();

private:
    bool StartPuzzle(const XmlAttributes& attributes);
    bool StartInPuzzle(std::string_view name, const XmlAttributes& attributes);
    bool StartClues(const XmlAttributes& attributes);
    bool StartLine();
    bool EndInPuzzle(std::string_view name, std::size_t depth);
    bool EndInFirstPuzzle(std::string_view name);
    bool EndPuzzle();
    bool DefineColour();
    bool AddCount();
    bool ColourNamed(std::string_view name, std::uint8_t& index);
    bool ColourOfCharacter(char c, std::uint8_t& index);
    bool AddPredefined(const PredefinedColour& colour, std::uint8_t& index);
    bool CheckBackground();
    bool TakeImage();
    void CountImage();
    void Capture() { m_capturing = true, m_text.clear(); }
    bool First() const { return m_puzzles == 1; }

    CPuzzleDraft& m_draft;
    std::vector<std::string> m_open;
    bool m_capturing = false;
    std::string m_text;

    int m_puzzles = 0;
    PuzzleSummary m_summary;
    int m_rows = -1;
    int m_columns = -1;
    const char* m_direction = nullptr;
    int m_lines = 0;
    bool m_inGoal = false;
    bool m_goalTaken = false;
    std::string m_image;

    // The first puzzle's colours by palette index. Entry 0 is the background:
    // its name is known from the start, its char and RGB once it is defined.
    std::vector<NamedColour> m_colours;
    bool m_backgroundDefined = false;
    std::string m_defaultColour;
    XmlAttributes m_colourAttributes;
    XmlAttributes m_countAttributes;
};

bool CWebpbnHandler::StartElement(std::string_view name, const XmlAttributes& attributes)
{
    if (m_open.size() == kMaxDepth)
        return m_draft.Refuse("elements nested more than " + std::to_string(kMaxDepth) + " deep");
    m_open.emplace_back(name);
    m_capturing = false;
    switch (m_open.size()) {
    case 1:
        return name == "puzzleset" || m_draft.Refuse("the document is " + Quoted(name) + ", not a puzzleset");
    case 2:
        return name != "puzzle" || StartPuzzle(attributes);
    default:
        return m_open[1] != "puzzle" || StartInPuzzle(name, attributes);
    }
}

bool CWebpbnHandler::StartPuzzle(const XmlAttributes& attributes)
{
    ++m_puzzles;
    m_summary = {};
    m_summary.type = AttributeOf(attributes, "type", "grid");
    m_rows = m_columns = -1;
    m_goalTaken = false;
    if (!First())
        return true;
    if (m_summary.type != "grid")
        return m_draft.Refuse("a puzzle of type " + Quoted(m_summary.type) + "; only grids are shown");
    m_colours = {{std::string(AttributeOf(attributes, "backgroundcolor", "white")), '\0'}};
    m_defaultColour = AttributeOf(attributes, "defaultcolor", "black");
    return m_draft.AddColour(kWhite);
}

// Only the places the format gives an element count: a <count> elsewhere
// than in a <line> of <clues> is no clue.
bool CWebpbnHandler::StartInPuzzle(std::string_view name, const XmlAttributes& attributes)
{
    const std::size_t depth = m_open.size();
    if (depth == 3) {
        if (name == "title" || name == "id" ||
            (First() && (name == "author" || name == "copyright" || name == "description" || name == "color")))
            Capture();
        if (name == "color")
            m_colourAttributes = attributes;
        if (name == "solution")
            m_inGoal = AttributeOf(attributes, "type", "goal") == "goal" && !m_goalTaken;
        return name != "clues" || StartClues(attributes);
    }
    if (depth == 4 && m_open[2] == "clues" && name == "line")
        return StartLine();
    if (depth == 4 && m_open[2] == "solution" && name == "image" && m_inGoal)
        Capture();
    if (depth == 5 && m_open[3] == "line" && name == "count" && First() && m_direction) {
        m_countAttributes = attributes;
        Capture();
    }
    return true;
}

bool CWebpbnHandler::StartClues(const XmlAttributes& attributes)
{
    const std::string_view type = AttributeOf(attributes, "type");
    m_lines = 0;
    m_direction = type == "rows" || type == "columns" ? (type == "rows" ? "rows" : "columns") : nullptr;
    if (!First())
        return true;
    if (!m_direction)
        return m_draft.Refuse("clues of type " + Quoted(type) + ", neither rows nor columns");
    std::optional<DraftLines>& group = type == "rows" ? m_draft.m_rows : m_draft.m_columns;
    if (group)
        return m_draft.Refuse("a second set of clues of type " + Quoted(type));
    group.emplace();
    return true;
}

bool CWebpbnHandler::StartLine()
{
    ++m_lines;
    if (!First() || !m_direction)
        return true;
    return m_draft.AddLine(m_direction[0] == 'r' ? *m_draft.m_rows : *m_draft.m_columns, m_direction);
}

bool CWebpbnHandler::Text(std::string_view text)
{
    if (m_capturing)
        m_text += text;
    return true;
}

bool CWebpbnHandler::EndElement(std::string_view name)
{
    const std::size_t depth = m_open.size();
    m_open.pop_back();
    if (depth == 2 && name == "puzzle")
        return EndPuzzle();
    return depth <= 2 || m_open[1] != "puzzle" || EndInPuzzle(name, depth);
}

bool CWebpbnHandler::EndInPuzzle(std::string_view name, std::size_t depth)
{
    const bool captured = m_capturing;
    m_capturing = false;
    if (depth == 3 && name == "clues" && m_direction) {
        (m_direction[0] == 'r' ? m_rows : m_columns) = m_lines;
        m_direction = nullptr;
    }
    if (depth == 3 && name == "solution")
        m_inGoal = false;
    if (!captured)
        return true;
    if (name == "title") {
        m_summary.title = Tidy(m_text);
    } else if (name == "id") {
        m_summary.id = Tidy(m_text);
    } else if (name == "image") {
        m_image = std::move(m_text);
        m_goalTaken = true;
    }
    return !First() || EndInFirstPuzzle(name);
}

bool CWebpbnHandler::EndInFirstPuzzle(std::string_view name)
{
    PuzzleMetadata& metadata = m_draft.m_metadata;
    if (name == "author")
        metadata.author = Tidy(m_text);
    else if (name == "copyright")
        metadata.copyright = Tidy(m_text);
    else if (name == "description")
        metadata.description = Tidy(m_text);
    else if (name == "color")
        return DefineColour();
    else if (name == "count")
        return AddCount();
    return true;
}

bool CWebpbnHandler::DefineColour()
{
    const std::string name(AttributeOf(m_colourAttributes, "name"));
    const std::string_view character = AttributeOf(m_colourAttributes, "char");
    Colour rgb = 0;
    if (name.empty())
        return m_draft.Refuse("a colour without a name");
    if (character.size() > 1)
        return m_draft.Refuse("the colour " + Quoted(name) + " written with more than one byte");
    if (!ReadHexColour(Tidy(m_text), rgb))
        return m_draft.Refuse("the colour " + Quoted(name) + " is not 3 or 6 hex digits");
    const char c = character.empty() ? '\0' : character[0];
    for (std::size_t i = 0; i < m_colours.size(); ++i) {
        const bool defined = i != 0 || m_backgroundDefined;
        if (defined && (m_colours[i].name == name || (c != '\0' && m_colours[i].character == c)))
            return m_draft.Refuse("the colour " + Quoted(name) + " defined twice, or its char used twice");
    }
    if (name == m_colours.front().name) {
        m_colours.front().character = c;
        m_draft.m_palette.front() = rgb;
        m_backgroundDefined = true;
        return true;
    }
    m_colours.push_back({name, c});
    return m_draft.AddColour(rgb);
}

bool CWebpbnHandler::AddPredefined(const PredefinedColour& colour, std::uint8_t& index)
{
    if (colour.name == m_colours.front().name) {
        m_colours.front().character = colour.character;
        m_draft.m_palette.front() = colour.rgb;
        m_backgroundDefined = true;
        index = 0;
        return true;
    }
    m_colours.push_back({std::string(colour.name), colour.character});
    index = static_cast<std::uint8_t>(m_colours.size() - 1);
    return m_draft.AddColour(colour.rgb);
}

// The background needs a colour: the file's, or one of the two that need none.
bool CWebpbnHandler::CheckBackground()
{
    std::uint8_t index = 0;
    return m_backgroundDefined || ColourNamed(m_colours.front().name, index);
}

// A colour the puzzle defines, or one of the two that exist without that.
bool CWebpbnHandler::ColourNamed(std::string_view name, std::uint8_t& index)
{
    for (std::size_t i = 0; i < m_colours.size(); ++i) {
        if (m_colours[i].name == name && (i != 0 || m_backgroundDefined)) {
            index = static_cast<std::uint8_t>(i);
            return true;
        }
    }
    for (const PredefinedColour& colour : kPredefined) {
        if (colour.name == name)
            return AddPredefined(colour, index);
    }
    return m_draft.Refuse("the colour " + Quoted(name) + ", which the puzzle does not define");
}

bool CWebpbnHandler::ColourOfCharacter(char c, std::uint8_t& index)
{
    for (std::size_t i = 0; i < m_colours.size(); ++i) {
        if (m_colours[i].character == c && c != '\0' && (i != 0 || m_backgroundDefined)) {
            index = static_cast<std::uint8_t>(i);
            return true;
        }
    }
    for (const PredefinedColour& colour : kPredefined) {
        const bool named = std::ranges::any_of(m_colours, [&](const NamedColour& known) {
            return known.name == colour.name && (&known != &m_colours.front() || m_backgroundDefined);
        });
        if (colour.character == c && !named)
            return AddPredefined(colour, index);
    }
    return m_draft.Refuse("the goal cell " + Quoted(c) + ", which is no colour's char");
}

bool CWebpbnHandler::AddCount()
{
    const std::string text = Tidy(m_text);
    std::int64_t length = 0;
    if (!ReadCount(text, length))
        return m_draft.Refuse("a count that is no number: " + Quoted(text));
    DraftLines& lines = m_direction[0] == 'r' ? *m_draft.m_rows : *m_draft.m_columns;
    std::uint8_t colour = 0;
    return ColourNamed(AttributeOf(m_countAttributes, "color", m_defaultColour), colour) &&
           m_draft.AddClue(lines.back(), length, colour);
}

bool CWebpbnHandler::TakeImage()
{
    std::vector<std::string_view> rows;
    if (!ImageRows(m_image, rows, m_draft))
        return false;
    const std::int64_t width = rows.empty() ? 0 : std::ssize(rows.front());
    if ((m_columns >= 0 && width != m_columns) || (m_rows >= 0 && std::ssize(rows) != m_rows))
        return m_draft.Refuse("a goal image of " + std::to_string(width) + " x " + std::to_string(rows.size()) +
                              " cells for clues of " + std::to_string(m_columns) + " x " + std::to_string(m_rows));
    if (!m_draft.CheckSize(width, std::ssize(rows)))
        return false;
    std::vector<std::uint8_t>& cells = m_draft.MakePicture();
    std::size_t cell = 0;
    for (const std::string_view row : rows) {
        if (std::ssize(row) != width)
            return m_draft.Refuse("goal image rows of different lengths");
        for (const char c : row) {
            if (!ColourOfCharacter(c, cells[cell++]))
                return false;
        }
    }
    return true;
}

// Of a puzzle after the first, only its size is wanted.
void CWebpbnHandler::CountImage()
{
    std::vector<std::string_view> rows;
    CPuzzleDraft scratch;
    ImageRows(m_image, rows, scratch);
    if (m_rows < 0)
        m_rows = static_cast<int>(rows.size());
    if (m_columns < 0)
        m_columns = rows.empty() ? 0 : static_cast<int>(rows.front().size());
}

bool CWebpbnHandler::EndPuzzle()
{
    if (!First()) {
        CountImage();
        m_summary.width = std::max(m_columns, 0);
        m_summary.height = std::max(m_rows, 0);
    } else {
        const bool sized = m_goalTaken ? TakeImage() : m_draft.CheckSize(std::max(m_columns, 0), std::max(m_rows, 0));
        if (!sized || !CheckBackground())
            return false;
        m_summary.width = m_draft.m_width;
        m_summary.height = m_draft.m_height;
        m_draft.m_metadata.title = m_summary.title;
        m_draft.m_metadata.id = m_summary.id;
    }
    m_image.clear();
    m_draft.m_puzzleSet.push_back(m_summary);
    return true;
}

bool CWebpbnHandler::Finish()
{
    if (m_puzzles == 0)
        return m_draft.Refuse("a puzzle set without a puzzle");
    if (m_puzzles == 1)
        m_draft.m_puzzleSet.clear();
    return true;
}

} // namespace

bool LooksLikeWebpbnXml(std::string_view text)
{
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    const std::size_t start = text.find_first_not_of(" \t\r\n");
    return start != std::string_view::npos && text[start] == '<' &&
           text.find("<puzzleset") != std::string_view::npos;
}

bool ReadWebpbnXml(std::string_view text, CPuzzleDraft& draft)
{
    CWebpbnHandler handler(draft);
    const XmlResult result = ParseXml(text, handler);
    switch (result.outcome) {
    case XmlOutcome::Parsed:
        return handler.Finish();
    case XmlOutcome::StoppedByHandler:
        return false;
    case XmlOutcome::NotWellFormed:
        return draft.Refuse(AtLine(result.line, "not well-formed XML (" + result.detail + ")"));
    case XmlOutcome::DtdRefused:
        break;
    }
    return draft.Refuse(AtLine(result.line, "a DTD of its own or an entity that only a DTD defines; only a "
                                            "DOCTYPE that names an external DTD is read"));
}
