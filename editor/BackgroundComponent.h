#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** A black 1000 x 700 backdrop the editor window holds but never adds as a child, so it never shows. */
class BackgroundComponent : public juce::Component
{
public:
    BackgroundComponent();
    ~BackgroundComponent() override;

    void paint(juce::Graphics& g) override;
    void resized() override;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(BackgroundComponent)
};
