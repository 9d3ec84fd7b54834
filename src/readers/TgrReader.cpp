#include "model/TessGrid.h"
#include "readers/SafeFile.h"

#include <vector>

// Clues only: W, H, Mr, Mc, then one byte per clue. Each line's bytes run from
// the grid outward, and the row groups run from the bottom row up.

namespace {

ClueEntry TgrClue(std::uint8_t value)
{
    return value != 0 ? ClueEntry{value, 1} : ClueEntry{0, 0};
}

// Line `lineAt(i)` receives the i-th group of bytes, its first byte in the
// slot next to the grid.
template <typename LineAt>
void ReadOutwardLists(CSafeFile& file, ClueLists& lists, LineAt lineAt)
{
    std::vector<std::uint8_t> bytes(lists.Items().size());
    file.Read(bytes.data(), bytes.size());
    const int slots = lists.LineLength();
    for (int i = 0; i < lists.LineCount(); ++i) {
        std::span<ClueEntry> list = lists[lineAt(i)];
        for (int k = 0; k < slots; ++k)
            list[slots - 1 - k] = TgrClue(bytes[static_cast<std::size_t>(i) * slots + k]);
    }
}

} // namespace

bool CTessGrid::ReadTgrFile(const std::string& path)
{
    CSafeFile file(path);
    ForgetContents();
    SetTwoColourHeader();
    m_width = file.ReadByte();
    m_height = file.ReadByte();
    m_rowClueMax = file.ReadByte();
    m_columnClueMax = file.ReadByte();
    m_noPicture = 1;

    if (m_columnClueMax > 0)
        ReadOutwardLists(file, m_columnClues.emplace(m_width, m_columnClueMax), [](int i) { return i; });
    if (m_rowClueMax > 0) {
        const int bottomRow = m_height - 1;
        ReadOutwardLists(file, m_rowClues.emplace(m_height, m_rowClueMax), [&](int i) { return bottomRow - i; });
    }
    file.Close();
    m_picture.emplace(m_height, m_width);
    return true;
}
