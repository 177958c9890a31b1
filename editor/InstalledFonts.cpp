#include "editor/InstalledFonts.h"

#if JUCE_LINUX || JUCE_BSD
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#endif

namespace installedFonts
{
#if JUCE_LINUX || JUCE_BSD

struct CharacterMap::Face
{
    FT_Library library = nullptr;
    FT_Face face = nullptr;
};

CharacterMap::CharacterMap(const void* fontData, size_t numBytes)
{
    auto opened = std::make_unique<Face>();
    if (FT_Init_FreeType(&opened->library) != 0)
        return;
    if (FT_New_Memory_Face(opened->library, static_cast<const FT_Byte*>(fontData), (FT_Long)numBytes, 0,
                           &opened->face) != 0)
    {
        FT_Done_FreeType(opened->library);
        return;
    }
    face = std::move(opened);
}

CharacterMap::~CharacterMap()
{
    if (face != nullptr)
    {
        FT_Done_Face(face->face);
        FT_Done_FreeType(face->library);
    }
}

bool CharacterMap::contains(juce::juce_wchar character) const
{
    return face == nullptr || FT_Get_Char_Index(face->face, (FT_ULong)character) != 0;
}

juce::File findFontFileWith(juce::juce_wchar character)
{
    if (FcInit() == FcFalse)
        return {};

    auto* wanted = FcCharSetCreate();
    FcCharSetAddChar(wanted, (FcChar32)character);
    auto* pattern = FcPatternCreate();
    FcPatternAddCharSet(pattern, FC_CHARSET, wanted);
    FcPatternAddBool(pattern, FC_OUTLINE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);

    // The sort ranks every installed font by how well it matches, coverage of the character first; the
    // ranking may still put fonts without it first, so each one's own map is asked.
    juce::File found;
    FcResult result = FcResultNoMatch;
    if (auto* ranked = FcFontSort(nullptr, pattern, FcFalse, nullptr, &result))
    {
        for (int i = 0; i < ranked->nfont && found == juce::File(); ++i)
        {
            auto* font = ranked->fonts[i];
            FcCharSet* has = nullptr;
            FcBool outline = FcFalse;
            FcChar8* path = nullptr;
            int index = 0;
            // The framework opens the first face of a font file held in memory.
            if (FcPatternGetCharSet(font, FC_CHARSET, 0, &has) == FcResultMatch &&
                FcCharSetHasChar(has, (FcChar32)character) &&
                FcPatternGetBool(font, FC_OUTLINE, 0, &outline) == FcResultMatch && outline == FcTrue &&
                FcPatternGetString(font, FC_FILE, 0, &path) == FcResultMatch &&
                FcPatternGetInteger(font, FC_INDEX, 0, &index) == FcResultMatch && index == 0)
                found = juce::File(juce::CharPointer_UTF8(reinterpret_cast<const char*>(path)));
        }
        FcFontSetDestroy(ranked);
    }

    FcPatternDestroy(pattern);
    FcCharSetDestroy(wanted);
    return found;
}

#else

// Elsewhere the framework's own typefaces are left to draw what they can.
struct CharacterMap::Face
{
};

CharacterMap::CharacterMap(const void*, size_t) {}
CharacterMap::~CharacterMap() = default;

bool CharacterMap::contains(juce::juce_wchar) const
{
    return true;
}

juce::File findFontFileWith(juce::juce_wchar)
{
    return {};
}

#endif
} // namespace installedFonts
