#include "editor/ModLabelComponent.h"

#include "editor/EditorPalette.h"
#include "editor/FontScaling.h"
#include "editor/SlotLabel.h"

ModLabelComponent::ModLabelComponent(juce::String text)
{
    setName("Mod Label Component");

    label = std::make_unique<juce::Label>("Name Label", juce::String());
    addAndMakeVisible(*label);
    setUpSlotLabel(*label, EditorPalette::grey);

    setSize(145, 20);
    font = juce::Font(14.0f);
    label->setFont(font);
    label->setText(text, juce::dontSendNotification);
}

ModLabelComponent::~ModLabelComponent()
{
    label = nullptr;
}

void ModLabelComponent::resized()
{
    label->setBounds(getLocalBounds());
    rescaleFont(font, fontHeight, lastHeight, getHeight());
    label->setFont(font);
}
