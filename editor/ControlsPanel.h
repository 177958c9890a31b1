#pragma once

#include "editor/BufferComponent.h"
#include "editor/CrusherComponent.h"
#include "editor/DryWetComponent.h"
#include "editor/FilterComponent.h"
#include "editor/LfoComponent.h"
#include "editor/MixerComponent.h"
#include "editor/MultiplierComponent.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

class QuorvelAudioProcessor;

// The module page: the seventeen module panels in a fixed 920 x 520 grid, one per module of the
// engine. The page only builds, owns and places them; each panel draws itself and its controls edit
// their own parameters. The editor window hands the processor to the page through setProcessor and,
// while the page is visible, refreshes it from its timer through updateFromPlugin.
class ControlsPanel : public juce::Component
{
public:
    ControlsPanel();
    ~ControlsPanel() override;

    void paint(juce::Graphics&) override {}
    void resized() override;

    // Writes the processor into the page, then into every panel in construction order together with
    // each of its controls that reads or writes the processor; the source chips get none.
    void setProcessor(QuorvelAudioProcessor* processorToUse);

    // One refresh of every panel in construction order, without writing anything back: each buffer
    // panel's knobs then its slots (target before depth), then the filter, crusher, output, LFO, mixer
    // and multiplier panels' own refreshes. The editor calls it only while the page is visible.
    void updateFromPlugin();

    QuorvelAudioProcessor* processor = nullptr;
    std::unique_ptr<BufferComponent> buffer1;
    std::unique_ptr<BufferComponent> buffer2;
    std::unique_ptr<FilterComponent> filter1;
    std::unique_ptr<FilterComponent> filter2;
    std::unique_ptr<CrusherComponent> crusher1;
    std::unique_ptr<CrusherComponent> crusher2;
    std::unique_ptr<DryWetComponent> dryWet;
    std::unique_ptr<LfoComponent> lfo1;
    std::unique_ptr<LfoComponent> lfo2;
    std::unique_ptr<LfoComponent> lfo3;
    std::unique_ptr<LfoComponent> lfo4;
    std::unique_ptr<MixerComponent> mixer1;
    std::unique_ptr<MixerComponent> mixer2;
    std::unique_ptr<MixerComponent> mixer3;
    std::unique_ptr<MixerComponent> mixer4;
    std::unique_ptr<MultiplierComponent> multiplier1;
    std::unique_ptr<MultiplierComponent> multiplier2;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(ControlsPanel)
};
