#include "editor/ModulePanel.h"

#include "editor/EditorPalette.h"
#include "editor/FloatParameterKnob.h"

namespace ModulePanel
{
void paintBox(juce::Graphics& g, const juce::Component& panel)
{
    g.fillAll(EditorPalette::black);
    g.setColour(EditorPalette::grey);
    g.drawRect(panel.getLocalBounds().toFloat(), 1.0f);
}

void strokeConnector(juce::Graphics& g, const juce::Path& path)
{
    g.setColour(EditorPalette::grey);
    g.strokePath(path, juce::PathStrokeType(1.0f, juce::PathStrokeType::mitered, juce::PathStrokeType::butt));
}

void setArcColour(juce::Slider& slider, juce::Colour colour)
{
    slider.setColour(juce::Slider::rotarySliderFillColourId, colour);
}

void setKnobColour(FloatParameterKnob& knob, juce::Colour colour)
{
    knob.knobColour = colour;
    setArcColour(*knob.slider, colour);
}
} // namespace ModulePanel
