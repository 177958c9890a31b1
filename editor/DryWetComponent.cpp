#include "editor/DryWetComponent.h"

#include "editor/EditorPalette.h"
#include "editor/ModulePanel.h"

namespace
{
constexpr int dryWet = 18, globalGain = 19;
constexpr int dryWetModSrc = 92, dryWetModDepth = 93;
} // namespace

DryWetComponent::DryWetComponent()
{
    using ModulePanel::addChild;
    setName("DryWet Component");

    header = addChild<juce::Label>(*this, "Header", juce::translate("OUT"));
    header->setFont(juce::Font(14.0f, juce::Font::plain));
    header->setJustificationType(juce::Justification::centred);
    header->setEditable(false, false, false);
    header->setColour(juce::Label::backgroundColourId, EditorPalette::chipFill);
    header->setColour(juce::Label::textColourId, EditorPalette::grey);
    header->setColour(juce::Label::outlineColourId, EditorPalette::grey);

    dryWetKnob = addChild<FloatParameterKnob>(*this, dryWet, "D/W");
    levelKnob = addChild<FloatParameterKnob>(*this, globalGain, "LVL");
    modTarget = addChild<ModTargetComponent>(*this, dryWetModSrc);
    modDepth = addChild<ModDepthComponent>(*this, dryWetModDepth);
    addAndMakeVisible(scope);

    setSize(230, 130);

    font = juce::Font(14.0f, juce::Font::plain);
    header->setFont(font);

    ModulePanel::setKnobColour(*dryWetKnob, EditorPalette::output);
    ModulePanel::setKnobColour(*levelKnob, EditorPalette::output);
}

DryWetComponent::~DryWetComponent()
{
    header = nullptr;
    dryWetKnob = nullptr;
    levelKnob = nullptr;
}

void DryWetComponent::paint(juce::Graphics& g)
{
    ModulePanel::paintBox(g, *this);
}

void DryWetComponent::resized()
{
    // Fixed places; the scope fills the gap between the two knobs' columns.
    header->setBounds(0, 0, 230, 20);
    dryWetKnob->setBounds(10, 30, 70, 50);
    levelKnob->setBounds(150, 30, 70, 50);
    modTarget->setBounds(15, 85, 60, 15);
    modDepth->setBounds(15, 105, 60, 15);
    scope.setBounds(80, 60, 70, 30);
}

void DryWetComponent::updateFromPlugin()
{
    dryWetKnob->updateFromPlugin();
    levelKnob->updateFromPlugin();
    modTarget->updateFromPlugin();
    modDepth->updateFromPlugin();
    scope.updateFromPlugin();
}

void DryWetComponent::setProcessor(QuorvelAudioProcessor* processorToUse)
{
    processor = processorToUse;
    dryWetKnob->processor = processorToUse;
    levelKnob->processor = processorToUse;
    modTarget->processor = processorToUse;
    modDepth->processor = processorToUse;
    scope.processor = processorToUse;
}
