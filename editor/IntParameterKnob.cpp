#include "editor/IntParameterKnob.h"

#include "editor/CommitParameterEdit.h"
#include "editor/EditorPalette.h"
#include "editor/ParameterSlider.h"
#include "plugin/PluginProcessor.h"

IntParameterKnob::IntParameterKnob(int paramIndexToEdit, juce::String caption, int maximumStep)
{
    setName("Int Parameter Knob");

    slider = std::make_unique<juce::Slider>("knob");
    addAndMakeVisible(*slider);
    setUpKnobSlider(*slider, 1.0, this);

    label = std::make_unique<juce::Label>("label");
    addAndMakeVisible(*label);
    label->setFont(juce::Font(10.0f));
    label->setJustificationType(juce::Justification::centred);
    label->setEditable(false, false, false);
    label->setColour(juce::Label::textColourId, EditorPalette::grey);
    label->setColour(juce::Label::outlineColourId, juce::Colour(0x00aeaeae));
    label->setColour(juce::TextEditor::textColourId, EditorPalette::black);
    label->setColour(juce::TextEditor::backgroundColourId, juce::Colour(0x00000000));

    setSize(70, 50);
    font = juce::Font(10.0f);
    label->setFont(font);

    paramIndex = paramIndexToEdit;
    minValue = 0;
    // A range of no steps would leave the slider without a range and the edit dividing by zero.
    maxValue = juce::jmax(1, maximumStep);
    slider->setRange(0.0, static_cast<double>(maxValue), 1.0);

    label->setText(caption, juce::dontSendNotification);
    label->setFont(font);
    setDefaultOnRefresh = true;
    showValueText = true;
}

IntParameterKnob::~IntParameterKnob()
{
    slider = nullptr;
}

void IntParameterKnob::resized()
{
    slider->setBounds(15, 0, 40, 40);
    label->setBounds(0, 40, 70, 10);
}

void IntParameterKnob::sliderValueChanged(juce::Slider* changed)
{
    if (changed != slider.get())
        return;

    // The step count goes through single precision before the division in double.
    const double stepCount = static_cast<float>(maxValue - minValue);
    commitParameterEdit(processor, paramIndex,
                        static_cast<float>((slider->getValue() - minValue) / stepCount));
}

int IntParameterKnob::stepOf(float normalised) const
{
    return static_cast<int>(static_cast<float>(minValue) +
                            static_cast<float>(maxValue - minValue) * normalised);
}

void IntParameterKnob::updateFromPlugin()
{
    if (processor == nullptr)
        return;

    if (setDefaultOnRefresh)
        slider->setDoubleClickReturnValue(true, stepOf(processor->params[paramIndex]->defaultNormalised),
                                          juce::ModifierKeys::altModifier);

    slider->setValue(stepOf(processor->getParameter(paramIndex)), juce::dontSendNotification);

    if (showValueText)
        label->setText(processor->getParameterText(paramIndex), juce::dontSendNotification);
}
