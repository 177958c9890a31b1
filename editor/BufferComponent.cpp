#include "editor/BufferComponent.h"

#include "editor/EditorPalette.h"
#include "plugin/ParameterTable.h"

namespace
{
// Buffer 1's Size, Repeats, Ratio are 0..2 and their modulation slots 0..2; buffer 2's follow them.
constexpr int parametersPerBuffer = 3;

template <typename Child, typename... Args>
std::unique_ptr<Child> addChild(juce::Component& parent, Args&&... args)
{
    auto child = std::make_unique<Child>(std::forward<Args>(args)...);
    parent.addAndMakeVisible(*child);
    return child;
}
} // namespace

BufferComponent::BufferComponent(int number, juce::String title)
{
    setName("Buffer Component");

    sizeKnob = addChild<FloatParameterKnob>(*this, 0, "SZ");
    repeatsKnob = addChild<FloatParameterKnob>(*this, 0, "RP");
    ratioKnob = addChild<FloatParameterKnob>(*this, 0, "RA");
    sourceChip = addChild<ModSourceComponent>(*this, title);

    const bool first = number == 1;
    const int buffer = first ? 0 : 1;
    const int firstKnob = buffer * parametersPerBuffer;
    sizeKnob->paramIndex = firstKnob;
    repeatsKnob->paramIndex = firstKnob + 1;
    ratioKnob->paramIndex = firstKnob + 2;
    sourceChip->setName(
        ParameterTable::sourceIdentifiers[first ? ParameterTable::srcBuffer1 : ParameterTable::srcBuffer2]);

    const int firstSlot = buffer * parametersPerBuffer;
    sizeTarget = addChild<ModTargetComponent>(*this, ParameterTable::modSourceIndex(firstSlot));
    sizeDepth = addChild<ModDepthComponent>(*this, ParameterTable::modDepthIndex(firstSlot));
    repeatsTarget = addChild<ModTargetComponent>(*this, ParameterTable::modSourceIndex(firstSlot + 1));
    repeatsDepth = addChild<ModDepthComponent>(*this, ParameterTable::modDepthIndex(firstSlot + 1));
    ratioTarget = addChild<ModTargetComponent>(*this, ParameterTable::modSourceIndex(firstSlot + 2));
    ratioDepth = addChild<ModDepthComponent>(*this, ParameterTable::modDepthIndex(firstSlot + 2));

    // Buffer 1 keeps the knob's own blue.
    if (!first)
    {
        for (auto* knob : {sizeKnob.get(), repeatsKnob.get(), ratioKnob.get()})
        {
            knob->knobColour = EditorPalette::secondModule;
            knob->slider->setColour(juce::Slider::rotarySliderFillColourId, EditorPalette::secondModule);
        }
    }

    setSize(230, 130);
    moduleNumber = number;
}

BufferComponent::~BufferComponent()
{
    sizeKnob = nullptr;
    repeatsKnob = nullptr;
    ratioKnob = nullptr;
}

void BufferComponent::paint(juce::Graphics& g)
{
    g.fillAll(EditorPalette::black);
    g.setColour(EditorPalette::grey);
    g.drawRect(getLocalBounds().toFloat(), 1.0f);
}

void BufferComponent::resized()
{
    // Fixed places whatever the panel's size: the chip spans the top row, each slot sits under its knob.
    sizeKnob->setBounds(10, 30, 70, 50);
    repeatsKnob->setBounds(80, 30, 70, 50);
    ratioKnob->setBounds(150, 30, 70, 50);
    sourceChip->setBounds(0, 0, 230, 20);
    sizeTarget->setBounds(15, 85, 60, 15);
    sizeDepth->setBounds(15, 105, 60, 15);
    repeatsTarget->setBounds(85, 85, 60, 15);
    repeatsDepth->setBounds(85, 105, 60, 15);
    ratioTarget->setBounds(155, 85, 60, 15);
    ratioDepth->setBounds(155, 105, 60, 15);
}
