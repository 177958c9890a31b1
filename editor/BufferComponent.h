#pragma once

#include "editor/FloatParameterKnob.h"
#include "editor/ModDepthComponent.h"
#include "editor/ModSourceComponent.h"
#include "editor/ModTargetComponent.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

class QuorvelAudioProcessor;

// The module page's panel of one stutter buffer: a source chip standing for the buffer's output, the
// Size, Repeats and Ratio knobs and a modulation slot (target and depth field) under each. It only
// builds, places and paints its children; they edit and the editor's timer refreshes them. Module
// number 1 builds buffer 1's panel, any other number buffer 2's.
class BufferComponent : public juce::Component
{
public:
    BufferComponent(int moduleNumber, juce::String title);
    ~BufferComponent() override;

    void paint(juce::Graphics& g) override;
    void resized() override;

    QuorvelAudioProcessor* processor = nullptr;
    int moduleNumber = 0;
    std::unique_ptr<ModSourceComponent> sourceChip;
    std::unique_ptr<ModTargetComponent> sizeTarget;
    std::unique_ptr<ModDepthComponent> sizeDepth;
    std::unique_ptr<ModTargetComponent> repeatsTarget;
    std::unique_ptr<ModDepthComponent> repeatsDepth;
    std::unique_ptr<ModTargetComponent> ratioTarget;
    std::unique_ptr<ModDepthComponent> ratioDepth;
    std::unique_ptr<FloatParameterKnob> sizeKnob;
    std::unique_ptr<FloatParameterKnob> repeatsKnob;
    std::unique_ptr<FloatParameterKnob> ratioKnob;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(BufferComponent)
};
