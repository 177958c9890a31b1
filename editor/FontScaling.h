#pragma once

#include <juce_graphics/juce_graphics.h>

// The rule every text-drawing control follows when it is resized: the font keeps its proportion to the
// component's height (14 px at 20 px high, 11.2 px at 16). fontHeight and lastHeight are the
// control's own fields; a height of 0 leaves all three untouched, so lastHeight is never 0 and a later
// resize never divides by it.
void rescaleFont(juce::Font& font, float& fontHeight, float& lastHeight, int height);
