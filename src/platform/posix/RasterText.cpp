#include "platform/posix/RasterText.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <map>
#include <memory>

// Metrics follow the Windows rules for TrueType fonts: the ascent and descent
// come from the OS/2 table's Windows values, scaled to the em and rounded.

namespace {

struct Glyph {
    int advance = 0;
    std::vector<std::pair<int, int>> inked; // relative to the pen on the baseline
};

class FontFace {
public:
    FontFace(FT_Library library, const std::string& file, int index)
    {
        if (FT_New_Face(library, file.c_str(), index, &m_face) != 0)
            m_face = nullptr;
    }
    ~FontFace()
    {
        if (m_face)
            FT_Done_Face(m_face);
    }
    FontFace(const FontFace&) = delete;
    FontFace& operator=(const FontFace&) = delete;

    bool IsOpen() const { return m_face != nullptr; }

    std::pair<int, int> AscentAndDescent(int pixelsPerEm)
    {
        SetSize(pixelsPerEm);
        const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(m_face, FT_SFNT_OS2));
        FT_Long ascent = m_face->ascender;
        FT_Long descent = -m_face->descender;
        if (os2 && (os2->usWinAscent || os2->usWinDescent)) {
            ascent = os2->usWinAscent;
            descent = os2->usWinDescent;
        }
        const FT_Fixed scale = m_face->size->metrics.y_scale;
        return {static_cast<int>((FT_MulFix(ascent, scale) + 32) >> 6),
                static_cast<int>((FT_MulFix(descent, scale) + 32) >> 6)};
    }

    const Glyph& GlyphOf(int pixelsPerEm, unsigned char character)
    {
        const auto key = std::make_pair(pixelsPerEm, character);
        if (const auto found = m_glyphs.find(key); found != m_glyphs.end())
            return found->second;
        return m_glyphs[key] = Render(pixelsPerEm, character);
    }

private:
    void SetSize(int pixelsPerEm)
    {
        if (pixelsPerEm != m_pixelsPerEm)
            FT_Set_Pixel_Sizes(m_face, 0, static_cast<FT_UInt>(pixelsPerEm));
        m_pixelsPerEm = pixelsPerEm;
    }

    Glyph Render(int pixelsPerEm, unsigned char character)
    {
        SetSize(pixelsPerEm);
        Glyph glyph;
        if (FT_Load_Char(m_face, character, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) != 0)
            return glyph;
        const FT_GlyphSlot slot = m_face->glyph;
        glyph.advance = static_cast<int>((slot->advance.x + 32) >> 6);
        const FT_Bitmap& bitmap = slot->bitmap;
        if (bitmap.pixel_mode != FT_PIXEL_MODE_MONO)
            return glyph;
        for (unsigned row = 0; row < bitmap.rows; ++row) {
            const unsigned char* bits = bitmap.buffer + static_cast<std::ptrdiff_t>(row) * bitmap.pitch;
            for (unsigned column = 0; column < bitmap.width; ++column) {
                if (bits[column / 8] & (0x80 >> column % 8))
                    glyph.inked.emplace_back(slot->bitmap_left + static_cast<int>(column),
                                             static_cast<int>(row) - slot->bitmap_top);
            }
        }
        return glyph;
    }

    FT_Face m_face = nullptr;
    int m_pixelsPerEm = 0;
    std::map<std::pair<int, unsigned char>, Glyph> m_glyphs;
};

class FontLibrary {
public:
    // A configuration of our own, so that a host process's use of fontconfig
    // and ours never meet.
    FontLibrary() : m_config(FcInitLoadConfigAndFonts())
    {
        if (FT_Init_FreeType(&m_library) != 0)
            m_library = nullptr;
    }
    ~FontLibrary()
    {
        m_faces.clear();
        if (m_library)
            FT_Done_FreeType(m_library);
        if (m_config)
            FcConfigDestroy(m_config);
    }
    FontLibrary(const FontLibrary&) = delete;
    FontLibrary& operator=(const FontLibrary&) = delete;

    // The face fontconfig matches to `family`, or null.
    FontFace* Find(const std::string& family)
    {
        const auto found = m_faces.find(family);
        if (found != m_faces.end())
            return found->second.get();
        std::unique_ptr<FontFace>& face = m_faces[family];
        face = Match(family);
        return face.get();
    }

private:
    std::unique_ptr<FontFace> Match(const std::string& family)
    {
        if (!m_library || !m_config)
            return nullptr;
        FcPattern* pattern = FcPatternCreate();
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
        FcConfigSubstitute(m_config, pattern, FcMatchPattern);
        FcDefaultSubstitute(pattern);
        FcResult result = FcResultNoMatch;
        FcPattern* match = FcFontMatch(m_config, pattern, &result);
        FcPatternDestroy(pattern);
        std::unique_ptr<FontFace> face;
        FcChar8* file = nullptr;
        int index = 0;
        if (match && FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) {
            FcPatternGetInteger(match, FC_INDEX, 0, &index);
            face = std::make_unique<FontFace>(m_library, reinterpret_cast<const char*>(file), index);
        }
        if (match)
            FcPatternDestroy(match);
        return face && face->IsOpen() ? std::move(face) : nullptr;
    }

    FcConfig* m_config;
    FT_Library m_library = nullptr;
    std::map<std::string, std::unique_ptr<FontFace>> m_faces;
};

FontLibrary& Fonts()
{
    static FontLibrary library;
    return library;
}

} // namespace

MonoText RenderMonoText(const std::string& family, int pixelsPerEm, std::string_view text)
{
    MonoText rendered;
    FontFace* face = Fonts().Find(family);
    if (!face || pixelsPerEm <= 0)
        return rendered;
    std::tie(rendered.ascent, rendered.descent) = face->AscentAndDescent(pixelsPerEm);
    for (const char character : text) {
        const Glyph& glyph = face->GlyphOf(pixelsPerEm, static_cast<unsigned char>(character));
        for (const auto& [x, y] : glyph.inked)
            rendered.inked.emplace_back(rendered.width + x, rendered.ascent + y);
        rendered.width += glyph.advance;
    }
    return rendered;
}

bool CanRenderText(const std::string& family)
{
    return Fonts().Find(family) != nullptr;
}
