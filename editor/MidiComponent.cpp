#include "editor/MidiComponent.h"

#include "editor/EditorPalette.h"
#include "plugin/PluginProcessor.h"

MidiComponent::MidiComponent()
{
    const auto makeRow = [this](std::unique_ptr<juce::Label>& label, const juce::String& labelName,
                                const juce::String& caption, std::unique_ptr<juce::TextButton>& button,
                                const juce::String& buttonName)
    {
        label = std::make_unique<juce::Label>(labelName, juce::translate(caption));
        addAndMakeVisible(*label);
        label->setFont(juce::Font(10.0f));
        label->setJustificationType(juce::Justification::centredLeft);
        label->setEditable(false, false, false);
        label->setColour(juce::Label::textColourId, EditorPalette::grey);
        label->setColour(juce::Label::outlineColourId, juce::Colour(0x00ff7f50));
        label->setColour(juce::TextEditor::textColourId, EditorPalette::black);
        label->setColour(juce::TextEditor::backgroundColourId, juce::Colour(0x00000000));

        button = std::make_unique<juce::TextButton>(buttonName);
        addAndMakeVisible(*button);
        button->setButtonText({});
        button->addListener(this);
        button->setColour(juce::TextButton::buttonColourId, EditorPalette::grey);
        button->setColour(juce::TextButton::buttonOnColourId, EditorPalette::grey);
        button->setColour(juce::TextButton::textColourOffId, EditorPalette::grey);
    };
    makeRow(clearLabel, "Clear Label", "CLEAR", clearButton, "Clear Button");
    makeRow(unlearnLabel, "Unlearn Label", "UNLEARN", unlearnButton, "Unlearn Button");
    unlearnButton->setColour(juce::TextButton::textColourOnId, EditorPalette::black);
    makeRow(learnLabel, "Learn label", "LEARN", learnButton, "Learn button");

    setSize(130, 80);

    labelFont.setHeight(10.0f);
    for (auto* label : {learnLabel.get(), unlearnLabel.get(), clearLabel.get()})
        label->setFont(labelFont);

    for (auto* button : {learnButton.get(), unlearnButton.get(), clearButton.get()})
    {
        button->setClickingTogglesState(true);
        button->setWantsKeyboardFocus(false);
    }
}

MidiComponent::~MidiComponent() = default;

void MidiComponent::paint(juce::Graphics&) {}

void MidiComponent::resized()
{
    learnButton->setBounds(10, 9, 10, 10);
    learnLabel->setBounds(25, 10, 100, 8);
    unlearnButton->setBounds(10, 35, 10, 10);
    unlearnLabel->setBounds(25, 36, 100, 8);
    clearButton->setBounds(10, 61, 10, 10);
    clearLabel->setBounds(25, 62, 100, 8);
}

void MidiComponent::buttonClicked(juce::Button* button)
{
    // A toggle has already taken its new state when its listeners hear of the click.
    if (button == clearButton.get())
        processor->clearAllRequest = true;
    else if (button == unlearnButton.get())
        processor->unlearnMode = unlearnButton->getToggleState();
    else if (button == learnButton.get())
        processor->learnMode = learnButton->getToggleState();
}
