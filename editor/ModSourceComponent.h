#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// A source chip: a captioned strip standing for one of the eighteen sources. Dragging it starts a drag
// through the enclosing drag container (the editor window); drop targets read the source from the
// chip's component name, which its owner sets to the source identifier ("Src_None" ...).
class ModSourceComponent : public juce::Component
{
public:
    explicit ModSourceComponent(juce::String text);
    ~ModSourceComponent() override = default;

    void mouseDrag(const juce::MouseEvent& event) override;
    void paint(juce::Graphics& g) override;
    void resized() override;

    juce::Font font;
    float fontHeight = 14.0f;
    float lastHeight = 20.0f;
    juce::String text;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(ModSourceComponent)
};
