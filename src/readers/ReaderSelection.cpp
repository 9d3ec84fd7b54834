#include "model/TessGrid.h"
#include "readers/PathExtension.h"
#include "readers/SafeFile.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string_view>

namespace {

using Reader = bool (CTessGrid::*)(const std::string&);

struct ReaderChoice {
    std::string_view extension;
    Reader reader;
};

// Compared in this order; any other extension goes to the native reader, which
// recognises its files by their contents.
constexpr ReaderChoice kReadersByExtension[] = {
    {".tgr", &CTessGrid::ReadTgrFile}, {".tgw", &CTessGrid::ReadTgwFile}, {".tgp", &CTessGrid::ReadTgpFile},
    {".pp", &CTessGrid::ReadPpFile},   {".ppc", &CTessGrid::ReadPpFile},  {".pps", &CTessGrid::ReadPpFile},
};

bool EqualIgnoringCase(std::string_view a, std::string_view b)
{
    return std::ranges::equal(a, b, [](unsigned char x, unsigned char y) { return std::tolower(x) == std::tolower(y); });
}

Reader SelectReader(const std::string& path)
{
    const std::string extension = FindExtension(path);
    for (const ReaderChoice& choice : kReadersByExtension) {
        if (EqualIgnoringCase(extension, choice.extension))
            return choice.reader;
    }
    return &CTessGrid::ReadNativeFile;
}

} // namespace

CTessGrid::CTessGrid(std::string path, const SettingsOverlay& overlay)
{
    ReadDisplaySettings();
    overlay.ApplyTo(m_settings);
    m_status = Load(path);
    if (m_status == LoadOk)
        JustifyClues();
}

LoadStatus CTessGrid::Load(const std::string& path)
{
    try {
        return (this->*SelectReader(path))(path) ? LoadOk : LoadRejected;
    } catch (const CFileException&) {
        return LoadFileError;
    }
}

void CTessGrid::ForgetContents()
{
    m_columnClues.reset();
    m_rowClues.reset();
    m_picture.reset();
    m_cluesFromPicture = false;
}

// The formats without a palette show the background in white and every filled
// cell and clue in the user's ink colour.
void CTessGrid::SetTwoColourHeader()
{
    std::memcpy(m_signature, "TESSA", sizeof m_signature);
    m_colourCount = 2;
    std::fill(std::begin(m_palette), std::end(m_palette), kBlack);
    m_palette[0] = kWhite;
    m_palette[1] = m_settings.filledColour;
    UpdateDarkColours();
}
