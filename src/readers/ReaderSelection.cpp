#include "model/TessGrid.h"
#include "readers/PathExtension.h"
#include "readers/PublicFormats.h"
#include "readers/SafeFile.h"
#include "readers/TextTokens.h"

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

// Offered, in this order, a file that the native reader does not take. The
// first whose test the text passes reads it: its outcome is the file's. The
// tests look at the contents alone, since other programs use these formats'
// extensions (.xml, .g, .mk) for files of their own.
struct PublicFormat {
    std::string_view name;
    bool (*recognise)(std::string_view text);
    bool (*read)(std::string_view text, CPuzzleDraft& draft);
};

constexpr PublicFormat kPublicFormats[] = {
    {"webpbn XML", LooksLikeWebpbnXml, ReadWebpbnXml},
    {".non", LooksLikeNon, ReadNon},
    {"Olšák .g", LooksLikeOlsakG, ReadOlsakG},
    {".mk", LooksLikeMk, ReadMk},
    {".nin", LooksLikeNin, ReadNin},
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
    const Reader reader = SelectReader(path);
    if (reader == &CTessGrid::ReadNativeFile)
        return LoadByContents(path);
    try {
        return (this->*reader)(path) ? LoadOk : LoadRejected;
    } catch (const CFileException&) {
        return LoadFileError;
    }
}

// Every file that the native reader takes loads as it always has, and so does
// any file that starts with the native signature, refused or cut short. Any
// other file, refused or too short for the native header, may be in a public
// format; a file that cannot be opened at all stays a file error.
LoadStatus CTessGrid::LoadByContents(const std::string& path)
{
    LoadStatus native = LoadFileError;
    std::memset(m_signature, 0, sizeof m_signature);
    try {
        native = ReadNativeFile(path) ? LoadOk : LoadRejected;
    } catch (const CFileException&) {
    }
    if (native == LoadOk || std::memcmp(m_signature, kNativeSignature, sizeof m_signature) == 0)
        return native;
    try {
        return ReadPublicFormat(path) ? LoadOk : LoadRejected;
    } catch (const CFileException&) {
        return LoadFileError;
    }
}

// Every public format is a text: a byte 0 marks a file of another kind. Files
// of most other kinds hold one near their start, and are declined without
// being read any further.
bool CTessGrid::ReadPublicFormat(const std::string& path)
{
    constexpr std::size_t kFirstLook = 4096;
    CSafeFile file(path);
    ForgetContents();
    m_refusal.clear();
    std::string text(kFirstLook, '\0');
    text.resize(file.ReadSome(text.data(), text.size()));
    if (text.find('\0') != std::string::npos) {
        m_refusal = "neither a native puzzle nor a text";
        return false;
    }
    file.Skip(-std::ssize(text));
    if (!file.ReadToEnd(text, kMaxPuzzleTextBytes)) {
        m_refusal = "neither a native puzzle nor a puzzle text of at most 16 MiB";
        return false;
    }
    file.Close();
    if (text.find('\0') != std::string::npos) {
        m_refusal = "neither a native puzzle nor a text";
        return false;
    }
    for (const PublicFormat& format : kPublicFormats) {
        if (!format.recognise(text))
            continue;
        CPuzzleDraft draft;
        if (format.read(text, draft) && TakeDraft(draft))
            return true;
        m_refusal = std::string(format.name) + ": " + (draft.m_refusal.empty() ? m_refusal : draft.m_refusal);
        return false;
    }
    m_refusal = "neither a native puzzle nor one in a public format that Gridlook reads";
    return false;
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
    std::memcpy(m_signature, kNativeSignature, sizeof m_signature);
    m_colourCount = 2;
    std::fill(std::begin(m_palette), std::end(m_palette), kBlack);
    m_palette[0] = kWhite;
    m_palette[1] = m_settings.filledColour;
    UpdateDarkColours();
}
