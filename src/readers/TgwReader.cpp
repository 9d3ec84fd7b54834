#include "model/TessGrid.h"
#include "readers/SafeFile.h"

#include <vector>

// A grid only: W, H, then one state byte per cell, column by column; state 2 is
// a filled cell and every other state an empty one. The clues are derived.

namespace {

constexpr std::uint8_t kFilledState = 2;

} // namespace

bool CTessGrid::ReadTgwFile(const std::string& path)
{
    CSafeFile file(path);
    ForgetContents();
    SetTwoColourHeader();
    m_width = file.ReadByte();
    m_height = file.ReadByte();
    m_rowClueMax = 0;
    m_columnClueMax = 0;
    m_noPicture = 0;

    Picture& picture = m_picture.emplace(m_height, m_width);
    std::vector<std::uint8_t> states(picture.Items().size());
    file.Read(states.data(), states.size());
    file.Close();
    for (int column = 0; column < m_width; ++column) {
        for (int row = 0; row < m_height; ++row) {
            const std::uint8_t state = states[static_cast<std::size_t>(column) * m_height + row];
            picture[row][column] = state == kFilledState ? 1 : 0;
        }
    }
    DeriveClues();
    return true;
}
