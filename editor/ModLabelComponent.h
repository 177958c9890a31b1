#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

// A row label of the matrix page: a fixed caption naming what the row feeds ("FILTER 2 CUTOFF"). The
// page sets the inner label's text colour per row.
class ModLabelComponent : public juce::Component
{
public:
    explicit ModLabelComponent(juce::String text);
    ~ModLabelComponent() override;

    void paint(juce::Graphics&) override {}
    void resized() override;

    juce::Font font;
    float fontHeight = 14.0f;
    float lastHeight = 20.0f;
    std::unique_ptr<juce::Label> label;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(ModLabelComponent)
};
