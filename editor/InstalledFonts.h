#pragma once

#include <juce_graphics/juce_graphics.h>

#include <memory>

// What the editor needs of the platform's fonts beyond what the framework offers: whether a font file's
// own character map has a character, and which installed typeface has a character another one lacks.
// The framework's typefaces draw a missing character as the font's empty box and never say so.
namespace installedFonts
{
/** The character map of a font held in memory (its first face); the bytes must outlive it. */
class CharacterMap
{
public:
    CharacterMap(const void* fontData, size_t numBytes);
    ~CharacterMap();

    /** Whether the font has a glyph of its own for the character. Without a readable map, every character
        counts as present, so nothing is sent elsewhere. */
    bool contains(juce::juce_wchar character) const;

private:
    struct Face;
    std::unique_ptr<Face> face;

    JUCE_DECLARE_NON_COPYABLE(CharacterMap)
};

/** The file of the installed outline typeface that the platform's font matching ranks first among those
    that have the character (the first face of its file), or no file where none has it or the platform
    offers no such matching. */
juce::File findFontFileWith(juce::juce_wchar character);
} // namespace installedFonts
