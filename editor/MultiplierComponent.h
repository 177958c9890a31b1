#pragma once

#include "editor/ModSourceComponent.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

class QuorvelAudioProcessor;

// The module page's half-height panel of one multiplier: its source chip and the two source boxes
// choosing what it multiplies. Multiplier number 1 builds multiplier 1's panel, any other number
// multiplier 2's. The editor writes the processor pointer and its timer refreshes the panel.
class MultiplierComponent : public juce::Component, public juce::ComboBox::Listener
{
public:
    MultiplierComponent(int multiplierNumber, juce::String title);
    ~MultiplierComponent() override;

    void paint(juce::Graphics& g) override;
    void resized() override;
    void comboBoxChanged(juce::ComboBox* box) override;

    // Brings box A, then box B, to the processor without writing back.
    void updateFromPlugin();

    // The boxes write through the panel, so the panel alone holds the processor.
    void setProcessor(QuorvelAudioProcessor* processorToUse) { processor = processorToUse; }

    QuorvelAudioProcessor* processor = nullptr;
    std::unique_ptr<ModSourceComponent> sourceChip;
    int sourceAParam = 0;
    int sourceBParam = 0;
    std::unique_ptr<juce::ComboBox> sourceABox;
    std::unique_ptr<juce::ComboBox> sourceBBox;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(MultiplierComponent)
};
