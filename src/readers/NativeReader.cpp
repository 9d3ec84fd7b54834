#include "model/TessGrid.h"
#include "readers/SafeFile.h"

#include <cstring>

// The desktop program's own file: a 75-byte header (signature, colour count,
// 16-entry palette, W, H, Mr, Mc, no-picture flag), then the column clue lists,
// the row clue lists (note: the header gives Mr before Mc, the body the columns
// first) and, when the flag is 0, the picture row by row.

namespace {

constexpr int kMinColourCount = 2;
constexpr int kMaxColourCount = 16;

void ReadClueLists(CSafeFile& file, ClueLists& lists)
{
    const auto entries = lists.Items();
    file.Read(entries.data(), entries.size_bytes());
}

} // namespace

bool CTessGrid::ReadNativeFile(const std::string& path)
{
    CSafeFile file(path);
    ForgetContents();

    file.Read(m_signature, sizeof m_signature);
    m_colourCount = file.ReadByte();
    std::uint8_t palette[kPaletteSize * 4];
    file.Read(palette, sizeof palette);
    for (int i = 0; i < kPaletteSize; ++i) {
        const std::uint8_t* bytes = palette + 4 * i;
        m_palette[i] = Colour{bytes[0]} | Colour{bytes[1]} << 8 | Colour{bytes[2]} << 16 | Colour{bytes[3]} << 24;
    }
    UpdateDarkColours();
    m_width = file.ReadByte();
    m_height = file.ReadByte();
    m_rowClueMax = file.ReadByte();
    m_columnClueMax = file.ReadByte();
    m_noPicture = file.ReadByte();

    if (std::memcmp(m_signature, kNativeSignature, sizeof kNativeSignature) != 0)
        return false;
    if (m_colourCount < kMinColourCount || m_colourCount > kMaxColourCount) {
        m_refusal = "a native puzzle of " + std::to_string(m_colourCount) + " colours (2 to 16)";
        return false;
    }

    if (m_columnClueMax > 0)
        ReadClueLists(file, m_columnClues.emplace(m_width, m_columnClueMax));
    if (m_rowClueMax > 0)
        ReadClueLists(file, m_rowClues.emplace(m_height, m_rowClueMax));
    Picture& picture = m_picture.emplace(m_height, m_width);
    if (m_noPicture == 0)
        file.Read(picture.Items().data(), picture.Items().size());
    file.Close();

    // A file that stores a picture but no clues gets them from the picture.
    if (m_rowClueMax == 0 && m_columnClueMax == 0)
        DeriveClues();
    return true;
}
