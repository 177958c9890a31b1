#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

class QuorvelAudioProcessor;

// The drop-down lists with which a mixer or multiplier panel picks each of its two inputs among the
// eighteen sources (item id = source index + 1, in source order).
namespace SourceBox
{
// Creates a box, shows it on the panel and registers the panel as its listener.
std::unique_ptr<juce::ComboBox> create(juce::Component& panel, const juce::String& name,
                                       juce::ComboBox::Listener* listener);

// Writes the source the user picked in a panel's box A or box B to that box's parameter, k / 17 for item
// k, through the shared edit sequence. A change from any other box, or one that leaves no item selected,
// writes nothing.
void commitPick(QuorvelAudioProcessor* processor, const juce::ComboBox* changed, const juce::ComboBox& boxA,
                int paramA, const juce::ComboBox& boxB, int paramB);

// Selects, without notification, the item of the source a parameter's normalised value holds (the
// integer part of value x 17), or nothing when the box has no such item.
void show(juce::ComboBox& box, float normalised);
} // namespace SourceBox
