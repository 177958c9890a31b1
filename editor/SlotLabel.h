#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// Sets up the text label of a depth field or row label: 14 px, centred, never editable, on a
// translucent grey field with a grey outline, in the given text colour.
void setUpSlotLabel(juce::Label& label, juce::Colour textColour);
