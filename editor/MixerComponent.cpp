#include "editor/MixerComponent.h"

#include "editor/EditorPalette.h"
#include "editor/ModulePanel.h"
#include "editor/SourceBox.h"
#include "plugin/ParameterTable.h"
#include "plugin/PluginProcessor.h"

namespace
{
// Each mixer's Source A, Source B and Mix follow the previous mixer's.
constexpr int mixer1SourceA = 40, parametersPerMixer = 3;
constexpr int sourceBOffset = 1, mixOffset = 2;

// The modulation slots of the four mixers' Mix, one after another.
constexpr int mixer1MixModSlot = 27;
} // namespace

MixerComponent::MixerComponent(int mixerNumber, juce::String title)
{
    using ModulePanel::addChild;
    setName("Mixer Component");

    mixKnob = addChild<FloatParameterKnob>(*this, 0, "MIX");
    sourceABox = SourceBox::create(*this, "Source A box", this);
    sourceBBox = SourceBox::create(*this, "Source B box", this);
    sourceChip = addChild<ModSourceComponent>(*this, title);

    const int mixer = mixerNumber >= 1 && mixerNumber <= 3 ? mixerNumber - 1 : 3;
    const int base = mixer1SourceA + parametersPerMixer * mixer;
    mixKnob->paramIndex = base + mixOffset;
    sourceAParam = base;
    sourceBParam = base + sourceBOffset;
    sourceChip->setName(
        ParameterTable::sourceIdentifiers[static_cast<size_t>(ParameterTable::srcMixer1 + mixer)]);
    modTarget = addChild<ModTargetComponent>(*this, ParameterTable::modSourceIndex(mixer1MixModSlot + mixer));
    modDepth = addChild<ModDepthComponent>(*this, ParameterTable::modDepthIndex(mixer1MixModSlot + mixer));

    setSize(230, 130);
    ModulePanel::setKnobColour(*mixKnob, EditorPalette::lfoAndMixer);
    sourceABox->setWantsKeyboardFocus(false);
    sourceBBox->setWantsKeyboardFocus(false);
}

MixerComponent::~MixerComponent()
{
    mixKnob = nullptr;
    sourceABox = nullptr;
    sourceBBox = nullptr;
}

void MixerComponent::paint(juce::Graphics& g)
{
    ModulePanel::paintBox(g, *this);
    ModulePanel::strokeConnector(g, boxLinkPath);
    ModulePanel::strokeConnector(g, knobLinkPath);
}

void MixerComponent::resized()
{
    mixKnob->setBounds(10, 30, 70, 50);
    sourceABox->setBounds(100, 30, 120, 16);
    sourceBBox->setBounds(100, 85, 120, 16);
    sourceChip->setBounds(0, 0, 230, 20);
    modTarget->setBounds(15, 85, 60, 15);
    modDepth->setBounds(15, 105, 60, 15);

    // From box A's bottom edge down to box B's top edge, and from halfway along it into the MIX dial.
    boxLinkPath.clear();
    boxLinkPath.startNewSubPath(160.0f, 46.0f);
    boxLinkPath.lineTo(160.0f, 85.0f);
    knobLinkPath.clear();
    knobLinkPath.startNewSubPath(160.0f, 65.0f);
    knobLinkPath.lineTo(80.0f, 65.0f);
    knobLinkPath.lineTo(80.0f, 45.0f);
    knobLinkPath.lineTo(65.0f, 45.0f);
}

void MixerComponent::comboBoxChanged(juce::ComboBox* box)
{
    SourceBox::commitPick(processor, box, *sourceABox, sourceAParam, *sourceBBox, sourceBParam);
}

void MixerComponent::updateFromPlugin()
{
    if (processor == nullptr)
        return;

    SourceBox::show(*sourceABox, processor->getParameter(sourceAParam));
    SourceBox::show(*sourceBBox, processor->getParameter(sourceBParam));
    mixKnob->updateFromPlugin();
    modTarget->updateFromPlugin();
    modDepth->updateFromPlugin();
}

void MixerComponent::setProcessor(QuorvelAudioProcessor* processorToUse)
{
    processor = processorToUse;
    mixKnob->processor = processorToUse;
    modTarget->processor = processorToUse;
    modDepth->processor = processorToUse;
}
