#pragma once

#include "editor/InstalledFonts.h"

#include <juce_graphics/juce_graphics.h>

#include <map>

namespace vesk
{
// The editor's typeface: the embedded Roboto for every character it has, and for a character it lacks
// (a preset name in Chinese, Hebrew or Arabic) an installed typeface that has it, found the first time
// the character is measured or drawn and kept. A text Roboto covers is measured and drawn by Roboto
// alone, so it keeps every pixel. A character no installed font has keeps Roboto's empty box. The look
// hands it out for every font; it is used wherever text is measured or drawn, on the message thread.
class FallbackTypeface : public juce::Typeface
{
public:
    /** Roboto as the framework made it from the embedded bytes, and those bytes (which outlive it). */
    FallbackTypeface(juce::Typeface::Ptr roboto, const void* robotoData, size_t robotoSize);

    float getAscent() const override;
    float getDescent() const override;
    float getHeightToPointsFactor() const override;
    bool isHinted() const override;
    float getStringWidth(const juce::String& text) override;
    void getGlyphPositions(const juce::String& text, juce::Array<int>& glyphs,
                           juce::Array<float>& xOffsets) override;
    bool getOutlineForGlyph(int glyphNumber, juce::Path& path) override;
    juce::EdgeTable* getEdgeTableForGlyph(int glyphNumber, const juce::AffineTransform& transform,
                                          float fontHeight) override;

private:
    /** The typeface that draws a character: 0 for Roboto, k for the k-th fallback found. */
    int faceFor(juce::juce_wchar character);
    bool needsFallback(const juce::String& text);

    /** Runs of the text that one typeface draws, in order. */
    template <typename Visit> void forEachRun(const juce::String& text, Visit visit);

    /** Glyph numbers are the characters themselves in both kinds of typeface, so a fallback's glyph
        carries its typeface's number above the last code point, and Roboto's glyphs keep theirs. */
    static constexpr int faceShift = 21;
    static int glyphOf(int face, int glyph) { return (face << faceShift) | glyph; }
    static int characterOf(int glyphNumber) { return glyphNumber & ((1 << faceShift) - 1); }
    juce::Typeface* typefaceAt(int face) const;
    juce::Typeface* typefaceOf(int glyphNumber) const { return typefaceAt(glyphNumber >> faceShift); }

    juce::Typeface::Ptr roboto;
    installedFonts::CharacterMap robotoCharacters;

    juce::CriticalSection lock;
    juce::ReferenceCountedArray<juce::Typeface> fallbacks; // fallback k is entry k - 1
    std::map<juce::String, int> fallbackOfFile;
    std::map<juce::juce_wchar, int> faceOfCharacter;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(FallbackTypeface)
};
} // namespace vesk
