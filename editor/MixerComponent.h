#pragma once

#include "editor/FloatParameterKnob.h"
#include "editor/ModDepthComponent.h"
#include "editor/ModSourceComponent.h"
#include "editor/ModTargetComponent.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

class QuorvelAudioProcessor;

// The module page's panel of one mixer: its source chip, the two source boxes choosing what it mixes,
// the MIX knob with its modulation slot, and lines showing the flow from the boxes into the knob. Mixer
// number 1, 2 or 3 builds that mixer's panel, any other number mixer 4's. The editor writes the
// processor pointer and its timer refreshes the panel.
class MixerComponent : public juce::Component, public juce::ComboBox::Listener
{
public:
    MixerComponent(int mixerNumber, juce::String title);
    ~MixerComponent() override;

    void paint(juce::Graphics& g) override;
    void resized() override;
    void comboBoxChanged(juce::ComboBox* box) override;

    // Brings the boxes, the knob and the slot to the processor without writing back.
    void updateFromPlugin();

    // Hands the processor to the panel and to the knob, target and depth field.
    void setProcessor(QuorvelAudioProcessor* processorToUse);

    QuorvelAudioProcessor* processor = nullptr;
    std::unique_ptr<ModSourceComponent> sourceChip;
    std::unique_ptr<ModTargetComponent> modTarget;
    std::unique_ptr<ModDepthComponent> modDepth;
    int sourceAParam = 0;
    int sourceBParam = 0;
    std::unique_ptr<FloatParameterKnob> mixKnob;
    std::unique_ptr<juce::ComboBox> sourceABox;
    std::unique_ptr<juce::ComboBox> sourceBBox;
    juce::Path boxLinkPath;
    juce::Path knobLinkPath;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(MixerComponent)
};
