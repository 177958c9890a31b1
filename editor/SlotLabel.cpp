#include "editor/SlotLabel.h"

#include "editor/EditorPalette.h"

void setUpSlotLabel(juce::Label& label, juce::Colour textColour)
{
    label.setFont(juce::Font(14.0f));
    label.setJustificationType(juce::Justification::centred);
    label.setEditable(false, false, false);
    label.setColour(juce::Label::backgroundColourId, EditorPalette::fieldFill);
    label.setColour(juce::Label::textColourId, textColour);
    label.setColour(juce::Label::outlineColourId, EditorPalette::grey);
    label.setColour(juce::TextEditor::textColourId, EditorPalette::black);
    label.setColour(juce::TextEditor::backgroundColourId, juce::Colour(0x00000000));
}
