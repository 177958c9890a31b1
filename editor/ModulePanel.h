#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>
#include <utility>

class FloatParameterKnob;

// What the module page's panels share: how a child is created and shown, the black box with its grey
// frame, the grey connector lines between controls, and the module colour of a knob.
namespace ModulePanel
{
// Creates a child, makes it visible and adds it on top of the parent's earlier children.
template <typename Child, typename... Args>
std::unique_ptr<Child> addChild(juce::Component& parent, Args&&... args)
{
    auto child = std::make_unique<Child>(std::forward<Args>(args)...);
    parent.addAndMakeVisible(*child);
    return child;
}

// Black over the whole panel, then a 1-pixel grey frame that follows the panel's actual size.
void paintBox(juce::Graphics& g, const juce::Component& panel);

// A signal-flow line: grey, 1 pixel, mitred joints, butt ends, untransformed.
void strokeConnector(juce::Graphics& g, const juce::Path& path);

// A knob in its module's colour: the caption colour field and the dial's value arc.
void setKnobColour(FloatParameterKnob& knob, juce::Colour colour);
void setArcColour(juce::Slider& slider, juce::Colour colour);
} // namespace ModulePanel
