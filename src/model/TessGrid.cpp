#include "model/TessGrid.h"

#include <algorithm>

namespace {

template <typename CellAt>
int CountRuns(int length, CellAt cellAt)
{
    int runs = 0;
    std::uint8_t current = 0;
    for (int i = 0; i < length; ++i) {
        const std::uint8_t ink = CTessGrid::InkOf(cellAt(i));
        if (ink != current && current != 0)
            ++runs;
        current = ink;
    }
    return current != 0 ? runs + 1 : runs;
}

// Walks the line from its far end so that the run next to the grid lands in the
// last slot: derived lists need no justification. A run longer than
// kLongestStoredRun is stored at that length, and then shows as a clue without
// a number, as every run of 100 or more does; the picture keeps its length.
template <typename CellAt>
void FillRunsFromEnd(int length, CellAt cellAt, std::span<ClueEntry> list)
{
    std::size_t slot = list.size();
    std::uint8_t current = 0;
    int runLength = 0;
    const auto storeRun = [&] {
        if (current != 0)
            list[--slot] = {static_cast<std::uint8_t>(std::min(runLength, kLongestStoredRun)), current};
    };
    for (int i = length - 1; i >= 0; --i) {
        const std::uint8_t ink = CTessGrid::InkOf(cellAt(i));
        if (ink == current) {
            ++runLength;
            continue;
        }
        storeRun();
        current = ink;
        runLength = 1;
    }
    storeRun();
}

template <typename LineCellAt>
std::optional<ClueLists> DeriveDirection(int lineCount, int lineLength, std::uint8_t& clueMax, LineCellAt lineCellAt)
{
    int most = 0;
    for (int line = 0; line < lineCount; ++line)
        most = std::max(most, CountRuns(lineLength, [&](int i) { return lineCellAt(line, i); }));
    clueMax = static_cast<std::uint8_t>(most);
    if (most == 0)
        return std::nullopt;
    ClueLists lists(lineCount, most);
    for (int line = 0; line < lineCount; ++line)
        FillRunsFromEnd(lineLength, [&](int i) { return lineCellAt(line, i); }, lists[line]);
    return lists;
}

void JustifyList(std::span<ClueEntry> list)
{
    std::size_t target = list.size();
    for (std::size_t j = list.size(); j-- > 0;) {
        if (list[j].value == 0)
            continue;
        if (j != --target) {
            list[target] = list[j];
            list[j] = {0, 0};
        }
    }
}

void JustifyLists(std::optional<ClueLists>& lists)
{
    if (!lists)
        return;
    for (int line = 0; line < lists->LineCount(); ++line)
        JustifyList((*lists)[line]);
}

} // namespace

// A colour is dark when (red, green) lies inside an ellipse whose half-axes
// shrink a little as blue grows. Evaluated in double precision on every build,
// so that both plug-ins rate every colour alike.
void CTessGrid::UpdateDarkColours()
{
    for (int i = 0; i < kPaletteSize; ++i) {
        const int red = RedOf(m_palette[i]);
        const int green = GreenOf(m_palette[i]);
        const int blue = BlueOf(m_palette[i]);
        const double x = red * 255.0 / (56100 - 22 * blue);
        const double y = green * 255.0 / (47175 - 19 * blue);
        m_darkColour[i] = x * x + y * y < 1.0 ? 1 : 0;
    }
}

void CTessGrid::DeriveClues()
{
    const Picture& picture = *m_picture;
    m_columnClues = DeriveDirection(m_width, m_height, m_columnClueMax,
                                    [&](int column, int row) { return picture[row][column]; });
    m_rowClues = DeriveDirection(m_height, m_width, m_rowClueMax,
                                 [&](int row, int column) { return picture[row][column]; });
    m_cluesFromPicture = true;
}

void CTessGrid::JustifyClues()
{
    JustifyLists(m_rowClues);
    JustifyLists(m_columnClues);
}
