#include "editor/ParameterSlider.h"

#include "editor/EditorPalette.h"
#include "plugin/PluginProcessor.h"

void setUpKnobSlider(juce::Slider& slider, double interval, juce::Slider::Listener* listener)
{
    slider.setRange(0.0, 1.0, interval);
    slider.setSliderStyle(juce::Slider::RotaryVerticalDrag);
    slider.setTextBoxStyle(juce::Slider::NoTextBox, true, slider.getTextBoxWidth(),
                           slider.getTextBoxHeight());
    slider.setColour(juce::Slider::backgroundColourId, EditorPalette::black);
    slider.setColour(juce::Slider::thumbColourId, EditorPalette::knobThumb);
    slider.setColour(juce::Slider::trackColourId, EditorPalette::knobThumb);
    slider.setColour(juce::Slider::rotarySliderFillColourId, EditorPalette::firstModule);
    slider.setColour(juce::Slider::rotarySliderOutlineColourId, EditorPalette::grey);
    slider.addListener(listener);
}

void refreshSlider(juce::Slider& slider, QuorvelAudioProcessor& processor, int paramIndex, bool& needsDefault)
{
    if (needsDefault)
    {
        slider.setDoubleClickReturnValue(true, processor.params[paramIndex]->defaultNormalised,
                                         juce::ModifierKeys::altModifier);
        needsDefault = false;
    }
    slider.setValue(processor.getParameter(paramIndex), juce::dontSendNotification);
}
