#include "editor/FallbackTypeface.h"

namespace vesk
{
namespace
{
/** Characters that draw nothing of their own (line ends in a message, spaces) stay with Roboto, as does
    every character it has. */
bool drawsNothing(juce::juce_wchar c)
{
    return c < 0x20 || (c >= 0x7f && c < 0xa0) || juce::CharacterFunctions::isWhitespace(c);
}

/** The number of fallbacks glyph numbers can tell apart above the code points. */
constexpr int maxFallbacks = 1000;
} // namespace

FallbackTypeface::FallbackTypeface(juce::Typeface::Ptr robotoFace, const void* robotoData, size_t robotoSize)
    : Typeface(robotoFace->getName(), robotoFace->getStyle()), roboto(std::move(robotoFace)),
      robotoCharacters(robotoData, robotoSize)
{
}

float FallbackTypeface::getAscent() const
{
    return roboto->getAscent();
}

float FallbackTypeface::getDescent() const
{
    return roboto->getDescent();
}

float FallbackTypeface::getHeightToPointsFactor() const
{
    return roboto->getHeightToPointsFactor();
}

bool FallbackTypeface::isHinted() const
{
    return roboto->isHinted();
}

int FallbackTypeface::faceFor(juce::juce_wchar character)
{
    // Roboto has every printable ASCII character.
    if (character < 0x80)
        return 0;

    const juce::ScopedLock sl(lock);
    if (const auto known = faceOfCharacter.find(character); known != faceOfCharacter.end())
        return known->second;

    int face = 0;
    if (!robotoCharacters.contains(character) && !drawsNothing(character))
    {
        const auto file = installedFonts::findFontFileWith(character);
        if (file != juce::File())
        {
            const auto path = file.getFullPathName();
            if (const auto loaded = fallbackOfFile.find(path); loaded != fallbackOfFile.end())
                face = loaded->second;
            else
            {
                juce::MemoryBlock bytes;
                if (fallbacks.size() < maxFallbacks && file.loadFileAsData(bytes))
                {
                    fallbacks.add(juce::Typeface::createSystemTypefaceFor(bytes.getData(), bytes.getSize()));
                    face = fallbacks.size();
                }
                fallbackOfFile[path] = face;
            }
        }
    }
    faceOfCharacter[character] = face;
    return face;
}

bool FallbackTypeface::needsFallback(const juce::String& text)
{
    for (auto t = text.getCharPointer(); !t.isEmpty();)
        if (faceFor(t.getAndAdvance()) != 0)
            return true;
    return false;
}

template <typename Visit> void FallbackTypeface::forEachRun(const juce::String& text, Visit visit)
{
    auto runStart = text.getCharPointer();
    int runFace = 0;
    for (auto t = text.getCharPointer(); !t.isEmpty();)
    {
        const auto here = t;
        const int face = faceFor(t.getAndAdvance());
        if (face != runFace && here != runStart)
        {
            visit(runFace, juce::String(runStart, here));
            runStart = here;
        }
        runFace = face;
    }
    if (!runStart.isEmpty())
        visit(runFace, juce::String(runStart));
}

juce::Typeface* FallbackTypeface::typefaceAt(int face) const
{
    if (face == 0)
        return roboto.get();

    const juce::ScopedLock sl(lock);
    return fallbacks[face - 1].get();
}

float FallbackTypeface::getStringWidth(const juce::String& text)
{
    if (!needsFallback(text))
        return roboto->getStringWidth(text);

    float width = 0.0f;
    forEachRun(text,
               [&](int face, const juce::String& run) { width += typefaceAt(face)->getStringWidth(run); });
    return width;
}

void FallbackTypeface::getGlyphPositions(const juce::String& text, juce::Array<int>& glyphs,
                                         juce::Array<float>& xOffsets)
{
    if (!needsFallback(text))
    {
        roboto->getGlyphPositions(text, glyphs, xOffsets);
        return;
    }

    xOffsets.add(0.0f);
    float x = 0.0f;
    forEachRun(text,
               [&](int face, const juce::String& run)
               {
                   juce::Array<int> runGlyphs;
                   juce::Array<float> runOffsets;
                   typefaceAt(face)->getGlyphPositions(run, runGlyphs, runOffsets);
                   for (int i = 0; i < runGlyphs.size(); ++i)
                   {
                       glyphs.add(glyphOf(face, runGlyphs[i]));
                       xOffsets.add(x + runOffsets[i + 1]);
                   }
                   x += runOffsets.isEmpty() ? 0.0f : runOffsets.getLast();
               });
}

bool FallbackTypeface::getOutlineForGlyph(int glyphNumber, juce::Path& path)
{
    auto* face = typefaceOf(glyphNumber);
    return face != nullptr && face->getOutlineForGlyph(characterOf(glyphNumber), path);
}

juce::EdgeTable* FallbackTypeface::getEdgeTableForGlyph(int glyphNumber,
                                                        const juce::AffineTransform& transform,
                                                        float fontHeight)
{
    auto* face = typefaceOf(glyphNumber);
    return face == nullptr ? nullptr
                           : face->getEdgeTableForGlyph(characterOf(glyphNumber), transform, fontHeight);
}
} // namespace vesk
