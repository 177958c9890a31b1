#pragma once

#include <juce_core/juce_core.h>

namespace torvaLib
{

/** Parses a whole XML document, or returns nothing. Unlike the framework's lenient parser it also refuses
    a document cut off inside its root tag, which would otherwise read as an element missing every
    attribute after the cut: a truncated state or preset must change nothing. */
std::unique_ptr<juce::XmlElement> parseCompleteXml(const juce::String& text);

/** A stored normalised value: the leading number of the text, read as the framework reads doubles; text
    without one reads as 0. */
double readStoredValue(const juce::String& text);

/** A stored MIDI binding: the leading decimal number of the text, as the C library reads it; text without
    one reads as 0. Out-of-range numbers saturate instead of overflowing. */
int readStoredBinding(const juce::String& text);

} // namespace torvaLib
