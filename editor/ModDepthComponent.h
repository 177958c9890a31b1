#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

class QuorvelAudioProcessor;

// A depth field bound to one amount parameter (a modulation depth or an audio input level): a label
// showing the value text under an invisible slider that takes the mouse. A vertical drag writes the
// value through the shared edit sequence; a double-click or alt-click returns it to the default once
// the first refresh has installed it. Owned by the module panels and the matrix page.
class ModDepthComponent : public juce::Component, public juce::Slider::Listener
{
public:
    explicit ModDepthComponent(int paramIndex);
    ~ModDepthComponent() override;

    void paint(juce::Graphics&) override {}
    void resized() override;
    void sliderValueChanged(juce::Slider* changed) override;

    // Brings the slider and the text to the parameter without notification, so nothing is written back;
    // the first call also installs the double-click default.
    void updateFromPlugin();

    QuorvelAudioProcessor* processor = nullptr;
    int paramIndex;
    juce::Font font;
    float fontHeight = 14.0f;
    float lastHeight = 20.0f;
    bool needsDefault = true;
    std::unique_ptr<juce::Label> label;
    std::unique_ptr<juce::Slider> slider;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(ModDepthComponent)
};
