#pragma once

#include <juce_graphics/juce_graphics.h>

// The editor's colours: black backgrounds, grey text and frames, translucent grey fields, violet slot
// values and one colour per module family.
namespace EditorPalette
{
const juce::Colour black{0xff000000};
const juce::Colour grey{0xffaeaeae};
const juce::Colour chipFill{0x80aeaeae};
const juce::Colour fieldFill{0x40aeaeae};
const juce::Colour slotText{0xffd02aff};
const juce::Colour targetHover{0x80d02aff};
const juce::Colour knobThumb{0xff5bffff};
const juce::Colour firstModule{0xff308bff};
const juce::Colour secondModule{0xff0be067};
const juce::Colour lfoAndMixer{0xfffbff03};
const juce::Colour output{0xffffffff};
} // namespace EditorPalette
