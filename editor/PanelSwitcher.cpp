#include "editor/PanelSwitcher.h"

namespace
{
const juce::Colour grey{0xffaeaeae};
const juce::Colour invisible{0x00ff0000};
} // namespace

PanelSwitcher::PanelSwitcher()
{
    setName("Panel Switcher");

    switchLabel = std::make_unique<juce::Label>("switch label", juce::translate("MATRIX"));
    addAndMakeVisible(*switchLabel);
    switchLabel->setJustificationType(juce::Justification::centred);
    switchLabel->setEditable(false, false, false);
    switchLabel->setColour(juce::Label::textColourId, grey);

    switchButton = std::make_unique<juce::TextButton>("switch button");
    addAndMakeVisible(*switchButton);
    switchButton->setButtonText({});
    switchButton->setColour(juce::TextButton::buttonColourId, invisible);
    switchButton->setColour(juce::TextButton::buttonOnColourId, invisible);
    switchButton->setColour(juce::TextButton::textColourOnId, invisible);
    switchButton->setColour(juce::TextButton::textColourOffId, invisible);

    setSize(200, 60);

    font = juce::Font(fontHeight, juce::Font::plain);
    switchLabel->setFont(font);

    switchButton->setClickingTogglesState(true);
    switchButton->setWantsKeyboardFocus(false);
}

PanelSwitcher::~PanelSwitcher() = default;

void PanelSwitcher::paint(juce::Graphics& g)
{
    g.fillAll(juce::Colours::black);
    g.setColour(grey);
    g.drawRect(getLocalBounds().toFloat(), 2.0f);
}

void PanelSwitcher::resized()
{
    switchLabel->setBounds(getLocalBounds());
    switchButton->setBounds(getLocalBounds());

    // The font keeps its proportion to the switch's height, scaled from the height it was last made for.
    font.setHeight((float)getHeight() / lastHeight * fontHeight);
    fontHeight = font.getHeight();
    switchLabel->setFont(font);
    lastHeight = (float)getHeight();
}
