#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

class QuorvelAudioProcessor;

// The rotary control for a parameter of a few discrete steps (an LFO's waveform and synced rate): a
// 70 x 50 dial moving in whole steps from 0 to a maximum, with the parameter's value text under it.
// Owned by the LFO panels; the editor writes the processor pointer and the panel refreshes it.
class IntParameterKnob : public juce::Component, public juce::Slider::Listener
{
public:
    IntParameterKnob(int paramIndex, juce::String caption, int maximumStep);
    ~IntParameterKnob() override;

    void paint(juce::Graphics&) override {}
    void resized() override;
    void sliderValueChanged(juce::Slider* changed) override;

    // Brings the dial to the step of the parameter's host value and the label to its value text,
    // without notification; installs the double-click default on every call.
    void updateFromPlugin();

    QuorvelAudioProcessor* processor = nullptr;
    int paramIndex;
    int minValue = 0;
    int maxValue = 1;
    juce::Font font;
    bool setDefaultOnRefresh = true;
    bool showValueText = true;
    std::unique_ptr<juce::Slider> slider;
    std::unique_ptr<juce::Label> label;

private:
    int stepOf(float normalised) const;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(IntParameterKnob)
};
