#include "editor/PanelSwitcher.h"

#include "editor/EditorPalette.h"
#include "editor/FontScaling.h"

namespace
{
const juce::Colour invisible{0x00ff0000};
} // namespace

PanelSwitcher::PanelSwitcher()
{
    setName("Panel Switcher");

    switchLabel = std::make_unique<juce::Label>("switch label", juce::translate("MATRIX"));
    addAndMakeVisible(*switchLabel);
    switchLabel->setJustificationType(juce::Justification::centred);
    switchLabel->setEditable(false, false, false);
    switchLabel->setColour(juce::Label::textColourId, EditorPalette::grey);

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
    g.fillAll(EditorPalette::black);
    g.setColour(EditorPalette::grey);
    g.drawRect(getLocalBounds().toFloat(), 2.0f);
}

void PanelSwitcher::resized()
{
    switchLabel->setBounds(getLocalBounds());
    switchButton->setBounds(getLocalBounds());

    rescaleFont(font, fontHeight, lastHeight, getHeight());
    switchLabel->setFont(font);
}
