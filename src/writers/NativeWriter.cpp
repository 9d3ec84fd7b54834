#include "writers/PuzzleContents.h"
#include "writers/PuzzleWriters.h"

// The 75-byte header (signature, colour count, 16 colours of four bytes, W, H,
// Mr, Mc, no-picture flag), the column lists, the row lists, the picture.

namespace {

void AppendLists(std::string& bytes, const std::optional<ClueLists>& lists)
{
    if (!lists)
        return;
    for (const ClueEntry entry : lists->Items()) {
        bytes += static_cast<char>(entry.value);
        bytes += static_cast<char>(entry.colour);
    }
}

} // namespace

std::string WriteNativeFile(const CTessGrid& puzzle)
{
    const bool picture = HasPicture(puzzle);
    // Clues made from the picture are left to the reader to make again, as
    // the desktop program's picture files leave them: a run longer than a
    // clue holds then keeps its length wherever the picture is solved from.
    const bool derived = picture && puzzle.m_cluesFromPicture;
    std::string bytes(kNativeSignature, sizeof kNativeSignature);
    bytes += static_cast<char>(puzzle.m_colourCount);
    for (const Colour colour : puzzle.m_palette) {
        for (int shift = 0; shift < 32; shift += 8)
            bytes += static_cast<char>(colour >> shift & 0xFF);
    }
    bytes += static_cast<char>(puzzle.m_width);
    bytes += static_cast<char>(puzzle.m_height);
    bytes += static_cast<char>(derived ? 0 : puzzle.m_rowClueMax);
    bytes += static_cast<char>(derived ? 0 : puzzle.m_columnClueMax);
    bytes += static_cast<char>(picture ? 0 : 1);
    if (!derived) {
        AppendLists(bytes, puzzle.m_columnClues);
        AppendLists(bytes, puzzle.m_rowClues);
    }
    if (picture) {
        const auto cells = puzzle.m_picture->Items();
        bytes.append(cells.begin(), cells.end());
    }
    return bytes;
}
