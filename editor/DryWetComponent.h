#pragma once

#include "editor/FloatParameterKnob.h"
#include "editor/ModDepthComponent.h"
#include "editor/ModTargetComponent.h"
#include "editor/OscillComp.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

class QuorvelAudioProcessor;

// The module page's panel of the output stage: the dry/wet and output level knobs, the dry/wet
// modulation slot and, between the knobs, the scope strip of the output. The output is no source, so
// its title is a plain "OUT" label that cannot be dragged. The editor writes the processor pointer
// and its timer refreshes the panel.
class DryWetComponent : public juce::Component
{
public:
    DryWetComponent();
    ~DryWetComponent() override;

    void paint(juce::Graphics& g) override;
    void resized() override;

    // Brings the knobs and the slot to the processor without writing back, then redraws the scope.
    void updateFromPlugin();

    // Hands the processor to the panel and to every child that reads or writes it, the scope included.
    void setProcessor(QuorvelAudioProcessor* processorToUse);

    QuorvelAudioProcessor* processor = nullptr;
    juce::Font font;
    std::unique_ptr<ModTargetComponent> modTarget;
    std::unique_ptr<ModDepthComponent> modDepth;
    OscillComp scope;
    std::unique_ptr<juce::Label> header;
    std::unique_ptr<FloatParameterKnob> dryWetKnob;
    std::unique_ptr<FloatParameterKnob> levelKnob;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(DryWetComponent)
};
