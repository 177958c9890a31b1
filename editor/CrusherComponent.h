#pragma once

#include "editor/FloatParameterKnob.h"
#include "editor/ModDepthComponent.h"
#include "editor/ModSourceComponent.h"
#include "editor/ModTargetComponent.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

class QuorvelAudioProcessor;

// The module page's panel of one bit crusher: a source chip standing for the crusher's output, the
// Bits, Rate and Mix knobs and a modulation slot under each. Module number 1 builds crusher 1's panel,
// any other number crusher 2's. The editor writes the processor pointer and its timer refreshes the
// panel.
class CrusherComponent : public juce::Component
{
public:
    CrusherComponent(int moduleNumber, juce::String title);
    ~CrusherComponent() override;

    void paint(juce::Graphics& g) override;
    void resized() override;

    // Brings the knobs, then the slots target before depth, to the processor without writing back.
    void updateFromPlugin();

    // Hands the processor to the panel and to every child that reads or writes it.
    void setProcessor(QuorvelAudioProcessor* processorToUse);

    QuorvelAudioProcessor* processor = nullptr;
    std::unique_ptr<ModSourceComponent> sourceChip;
    std::unique_ptr<ModTargetComponent> modTarget1;
    std::unique_ptr<ModDepthComponent> modDepth1;
    std::unique_ptr<ModTargetComponent> modTarget2;
    std::unique_ptr<ModDepthComponent> modDepth2;
    std::unique_ptr<ModTargetComponent> modTarget3;
    std::unique_ptr<ModDepthComponent> modDepth3;
    std::unique_ptr<FloatParameterKnob> knob1;
    std::unique_ptr<FloatParameterKnob> knob2;
    std::unique_ptr<FloatParameterKnob> knob3;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(CrusherComponent)
};
