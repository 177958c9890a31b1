#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** The page switch at the window's lower right: a framed box naming the page a click leads to, with a
    transparent toggle button on top that takes the clicks. The editor window listens to the button,
    swaps the pages and rewrites the label. */
class PanelSwitcher : public juce::Component
{
public:
    PanelSwitcher();
    ~PanelSwitcher() override;

    void paint(juce::Graphics& g) override;
    void resized() override;

    juce::Font font;
    float fontHeight = 34.0f;
    float lastHeight = 60.0f;
    std::unique_ptr<juce::Label> switchLabel;
    std::unique_ptr<juce::TextButton> switchButton;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(PanelSwitcher)
};
