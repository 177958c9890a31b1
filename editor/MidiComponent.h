#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

class QuorvelAudioProcessor;

/** The MIDI-learn bar at the window's lower left: LEARN and UNLEARN latch the processor's learn and
    unlearn modes, CLEAR asks the processor to drop every MIDI binding at its next block. The editor
    window writes its processor pointer and switches the CLEAR toggle off again on its next tick. */
class MidiComponent : public juce::Component, public juce::Button::Listener
{
public:
    MidiComponent();
    ~MidiComponent() override;

    void paint(juce::Graphics& g) override;
    void resized() override;
    void buttonClicked(juce::Button* button) override;

    QuorvelAudioProcessor* processor = nullptr;
    juce::Font labelFont;
    std::unique_ptr<juce::Label> clearLabel;
    std::unique_ptr<juce::TextButton> clearButton;
    std::unique_ptr<juce::Label> unlearnLabel;
    std::unique_ptr<juce::TextButton> unlearnButton;
    std::unique_ptr<juce::Label> learnLabel;
    std::unique_ptr<juce::TextButton> learnButton;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(MidiComponent)
};
