#include "editor/ModDepthComponent.h"

#include "editor/CommitParameterEdit.h"
#include "editor/EditorPalette.h"
#include "editor/FontScaling.h"
#include "editor/ParameterSlider.h"
#include "editor/SlotLabel.h"
#include "plugin/PluginProcessor.h"

namespace
{
struct ColourSetting
{
    int id;
    juce::uint32 argb;
};

// Every colour has alpha 0: the slider only takes the mouse and the label shows through it.
const ColourSetting invisibleSliderColours[] = {
    {juce::Slider::thumbColourId, 0x00bbbbff},
    {juce::Slider::trackColourId, 0x00ffffff},
    {juce::Slider::rotarySliderFillColourId, 0x000000ff},
    {juce::Slider::rotarySliderOutlineColourId, 0x00000000},
    {juce::Slider::textBoxTextColourId, 0x00000000},
    {juce::Slider::textBoxBackgroundColourId, 0x00ffffff},
    {juce::Slider::textBoxHighlightColourId, 0x001111ee},
    {juce::Slider::textBoxOutlineColourId, 0x00808080},
};
} // namespace

ModDepthComponent::ModDepthComponent(int paramIndexToEdit)
{
    setName("Mod Depth Component");

    label = std::make_unique<juce::Label>("depth label", juce::String());
    addAndMakeVisible(*label);
    setUpSlotLabel(*label, EditorPalette::slotText);

    // Added after the label, so it lies on top and takes every mouse event over the field.
    slider = std::make_unique<juce::Slider>("Depth Knob");
    addAndMakeVisible(*slider);
    slider->setRange(0.0, 1.0, 0.001);
    slider->setSliderStyle(juce::Slider::RotaryVerticalDrag);
    slider->setTextBoxStyle(juce::Slider::NoTextBox, true, 80, 20);
    for (const auto& setting : invisibleSliderColours)
        slider->setColour(setting.id, juce::Colour(setting.argb));
    slider->addListener(this);

    setSize(50, 20);
    font = juce::Font(14.0f);
    label->setFont(font);
    paramIndex = paramIndexToEdit;
    needsDefault = true;
}

ModDepthComponent::~ModDepthComponent()
{
    label = nullptr;
    slider = nullptr;
}

void ModDepthComponent::resized()
{
    label->setBounds(getLocalBounds());
    slider->setBounds(getLocalBounds());
    rescaleFont(font, fontHeight, lastHeight, getHeight());
    label->setFont(font);
}

void ModDepthComponent::sliderValueChanged(juce::Slider* changed)
{
    if (changed == slider.get())
        commitParameterEdit(processor, paramIndex, static_cast<float>(slider->getValue()));
}

void ModDepthComponent::updateFromPlugin()
{
    if (processor == nullptr)
        return;

    refreshSlider(*slider, *processor, paramIndex, needsDefault);
    label->setText(processor->getParameterText(paramIndex), juce::dontSendNotification);
}
