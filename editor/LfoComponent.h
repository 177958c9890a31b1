#pragma once

#include "editor/FloatParameterKnob.h"
#include "editor/IntParameterKnob.h"
#include "editor/ModDepthComponent.h"
#include "editor/ModSourceComponent.h"
#include "editor/ModTargetComponent.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

class QuorvelAudioProcessor;

// The module page's panel of one LFO: its source chip, the waveform knob, a rate knob that is the free
// rate or, while SYNC is on, the tempo-synced note value (the two share one place), the SYNC and "x 100"
// switches, and the modulation slots of the waveform and the rate. LFO number 1, 2 or 3 builds that
// LFO's panel, any other number LFO 4's. The editor writes the processor pointer and its timer
// refreshes the panel.
class LfoComponent : public juce::Component, public juce::Button::Listener
{
public:
    LfoComponent(int lfoNumber, juce::String title);
    ~LfoComponent() override;

    void paint(juce::Graphics& g) override;
    void resized() override;
    void buttonClicked(juce::Button* button) override;

    // Brings the switches, which rate knob shows, both rate knobs, the waveform knob and the slots to
    // the processor without writing back.
    void updateFromPlugin();

    // Hands the processor to the panel and to its seven parameter-bound controls.
    void setProcessor(QuorvelAudioProcessor* processorToUse);

    QuorvelAudioProcessor* processor = nullptr;
    int syncParamIndex = 0;
    int multiplyParamIndex = 0;
    std::unique_ptr<ModSourceComponent> sourceChip;
    std::unique_ptr<ModTargetComponent> waveModTarget;
    std::unique_ptr<ModDepthComponent> waveModDepth;
    std::unique_ptr<ModTargetComponent> rateModTarget;
    std::unique_ptr<ModDepthComponent> rateModDepth;
    std::unique_ptr<FloatParameterKnob> rateKnob;
    std::unique_ptr<IntParameterKnob> syncedRateKnob;
    std::unique_ptr<juce::TextButton> multiplyButton;
    std::unique_ptr<juce::TextButton> syncButton;
    std::unique_ptr<IntParameterKnob> waveKnob;
    juce::Path connectorPath;

private:
    std::unique_ptr<juce::TextButton> makeSwitch(const char* name, const char* text);
    void showRateKnobForSync();

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(LfoComponent)
};
