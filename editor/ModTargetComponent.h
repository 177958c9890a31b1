#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

class QuorvelAudioProcessor;

// A drop target bound to one source-selector parameter (a modulation source or an audio input). It
// shows the source the parameter holds; a source chip dropped on it writes that chip's source through
// the shared edit sequence. Owned by the module panels and the matrix page.
class ModTargetComponent : public juce::Component, public juce::DragAndDropTarget
{
public:
    explicit ModTargetComponent(int paramIndex);
    ~ModTargetComponent() override = default;

    void paint(juce::Graphics& g) override;
    void resized() override;

    bool isInterestedInDragSource(const SourceDetails&) override { return true; }
    void itemDropped(const SourceDetails& details) override;
    void itemDragEnter(const SourceDetails&) override;
    void itemDragExit(const SourceDetails&) override;

    // Shows the parameter's value text and repaints, on every call; never writes back.
    void updateFromPlugin();

    QuorvelAudioProcessor* processor = nullptr;
    int paramIndex;
    juce::Font font;
    float fontHeight = 14.0f;
    float lastHeight = 20.0f;
    juce::String text;
    juce::Colour backgroundColour;

private:
    void setBackground(juce::Colour colour);

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(ModTargetComponent)
};
