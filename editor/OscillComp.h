#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

class QuorvelAudioProcessor;

// The scope strip of the output panel: a white trace of the processor's scope history, the newest value
// on the right edge and the oldest on the left, +1 at the top and -1 at the bottom. The output panel's
// refresh rebuilds the trace; the strip paints no background.
class OscillComp : public juce::Component
{
public:
    OscillComp();
    ~OscillComp() override = default;

    void paint(juce::Graphics& g) override;
    void resized() override {}

    // Rebuilds the trace from the history as it stands and repaints the strip.
    void updateFromPlugin();

    QuorvelAudioProcessor* processor = nullptr;
    juce::Path path;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(OscillComp)
};
