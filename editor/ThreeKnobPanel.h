#pragma once

#include "editor/FloatParameterKnob.h"
#include "editor/ModDepthComponent.h"
#include "editor/ModSourceComponent.h"
#include "editor/ModTargetComponent.h"
#include "plugin/ParameterTable.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <array>
#include <memory>

class QuorvelAudioProcessor;

// What tells a filter panel from a crusher panel: its name, its knob captions and where its first
// module's parameters and source sit. The second module's knobs follow the first's three, its
// modulation slots the first's three, and its source the first's.
struct ThreeKnobModule
{
    const char* componentName;
    std::array<const char*, 3> captions;
    int firstKnob;
    int firstModSlot;
    ParameterTable::Source firstSource;
};

// The module page's panel of a module with three knobs, each with a modulation slot under it: the
// filter and crusher panels share this one layout and behaviour. Module number 1 builds the first
// module's panel, any other number the second's. The editor writes the processor pointer and its timer
// refreshes the panel.
class ThreeKnobPanel : public juce::Component
{
public:
    ~ThreeKnobPanel() override;

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

protected:
    // The title only becomes the chip's text.
    ThreeKnobPanel(const ThreeKnobModule& module, int moduleNumber, juce::String title);

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(ThreeKnobPanel)
};
