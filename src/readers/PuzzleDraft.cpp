#include "readers/PuzzleDraft.h"

#include "readers/TextLines.h"
#include "readers/TextTokens.h"

#include <algorithm>
#include <cstring>

namespace {

std::string Limited(std::int64_t count, const char* what, int limit)
{
    const std::string number = count < kHugeCount ? std::to_string(count) : "too many";
    return number + " " + what + " (at most " + std::to_string(limit) + ")";
}

std::optional<ClueLists> ListsOf(const DraftLines& lines, std::uint8_t& clueMax)
{
    std::size_t most = 0;
    for (const DraftLine& line : lines)
        most = std::max(most, line.size());
    clueMax = static_cast<std::uint8_t>(most);
    if (most == 0)
        return std::nullopt;
    ClueLists lists(static_cast<int>(lines.size()), static_cast<int>(most));
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::span<ClueEntry> list = lists[static_cast<int>(i)];
        for (std::size_t k = 0; k < lines[i].size(); ++k)
            list[k] = {lines[i][k].length, lines[i][k].colour};
    }
    return lists;
}

} // namespace

bool CPuzzleDraft::Refuse(std::string reason)
{
    m_refusal = std::move(reason);
    return false;
}

bool CPuzzleDraft::CheckSize(std::int64_t width, std::int64_t height)
{
    if (width > kMaxLines)
        return Refuse(Limited(width, "columns", kMaxLines));
    if (height > kMaxLines)
        return Refuse(Limited(height, "rows", kMaxLines));
    m_width = static_cast<int>(width);
    m_height = static_cast<int>(height);
    return true;
}

bool CPuzzleDraft::AddLine(DraftLines& lines, const char* direction)
{
    if (lines.size() == kMaxLines)
        return Refuse(std::string("more than ") + std::to_string(kMaxLines) + " " + direction);
    lines.emplace_back();
    return true;
}

bool CPuzzleDraft::AddClue(DraftLine& line, std::int64_t length, std::uint8_t colour)
{
    if (length < 1 || length > kMaxClueLength)
        return Refuse("a clue of " + std::to_string(length) + " (1 to " + std::to_string(kMaxClueLength) + ")");
    if (colour == 0)
        return Refuse("a clue in the background colour");
    if (line.size() == kMaxCluesPerLine)
        return Refuse(std::string("a line of more than ") + std::to_string(kMaxCluesPerLine) + " clues");
    line.push_back({static_cast<std::uint8_t>(length), colour});
    return true;
}

bool CPuzzleDraft::AddColour(Colour colour)
{
    if (m_palette.size() == kPaletteSize)
        return Refuse(std::string("more than ") + std::to_string(kPaletteSize) + " colours");
    m_palette.push_back(colour);
    return true;
}

std::vector<std::uint8_t>& CPuzzleDraft::MakePicture()
{
    return m_picture.emplace(static_cast<std::size_t>(m_width) * static_cast<std::size_t>(m_height), 0);
}

// The readers keep their drafts within the limits; what is checked here is
// that the parts agree with each other.
bool CTessGrid::TakeDraft(const CPuzzleDraft& draft)
{
    ForgetContents();
    if (draft.m_palette.empty()) {
        SetTwoColourHeader();
    } else {
        std::memcpy(m_signature, kNativeSignature, sizeof m_signature);
        m_colourCount = static_cast<std::uint8_t>(std::max<std::size_t>(draft.m_palette.size(), 2));
        std::fill(std::begin(m_palette), std::end(m_palette), kBlack);
        std::copy(draft.m_palette.begin(), draft.m_palette.end(), m_palette);
        UpdateDarkColours();
    }
    m_width = static_cast<std::uint8_t>(draft.m_width);
    m_height = static_cast<std::uint8_t>(draft.m_height);
    m_metadata = draft.m_metadata;
    m_puzzleSet = draft.m_puzzleSet;
    m_noPicture = draft.m_picture ? 0 : 1;

    const bool hasClues = draft.m_columns || draft.m_rows;
    if (hasClues && !(draft.m_columns && draft.m_rows)) {
        m_refusal = draft.m_columns ? "column clues without row clues" : "row clues without column clues";
        return false;
    }
    if (!hasClues && !draft.m_picture) {
        m_refusal = "neither clues nor a picture";
        return false;
    }
    if ((hasClues && (std::ssize(*draft.m_columns) != draft.m_width || std::ssize(*draft.m_rows) != draft.m_height)) ||
        (draft.m_picture && std::ssize(*draft.m_picture) != std::int64_t{draft.m_width} * draft.m_height)) {
        m_refusal = "clues and picture of different sizes";
        return false;
    }

    Picture& picture = m_picture.emplace(m_height, m_width);
    if (draft.m_picture)
        std::ranges::copy(*draft.m_picture, picture.Items().begin());
    if (!hasClues) {
        DeriveClues();
        return true;
    }
    m_columnClues = ListsOf(*draft.m_columns, m_columnClueMax);
    m_rowClues = ListsOf(*draft.m_rows, m_rowClueMax);
    return true;
}
