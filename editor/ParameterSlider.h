#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

class QuorvelAudioProcessor;

// Sets up a knob's dial: range 0..1 in the given steps, vertical-drag rotary without a text box, black
// background, blue arc and grey rings (the panels replace the arc colour with their module's).
void setUpKnobSlider(juce::Slider& slider, double interval, juce::Slider::Listener* listener);

// The refresh of a slider that shows a parameter's normalised value: while needsDefault is set,
// installs the parameter's default as the double-click (and alt-click) value and clears the flag; then
// moves the slider to the host value without notification, so nothing is written back.
void refreshSlider(juce::Slider& slider, QuorvelAudioProcessor& processor, int paramIndex,
                   bool& needsDefault);
