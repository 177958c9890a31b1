#include "editor/LfoComponent.h"

#include "editor/CommitParameterEdit.h"
#include "editor/EditorPalette.h"
#include "editor/ModulePanel.h"
#include "plugin/ParameterTable.h"
#include "plugin/PluginProcessor.h"

namespace
{
// Each LFO's five parameters in order from ParameterTable::lfoBase.
constexpr int waveOffset = 0, rateOffset = 1, multiplyOffset = 2, syncOffset = 3, syncedRateOffset = 4;

// The modulation slots of LFO 1's waveform and rate; each further LFO's follow the previous one's.
constexpr int lfo1WaveModSlot = 19;
constexpr int modSlotsPerLfo = 2;

constexpr int maxWave = 5, maxSyncedRate = 17;

float switchValue(const juce::Button& button)
{
    return button.getToggleState() ? 1.0f : 0.0f;
}
} // namespace

LfoComponent::LfoComponent(int lfoNumber, juce::String title)
{
    using ModulePanel::addChild;
    setName("Lfo Component");

    // Built on LFO 1's parameters, then bound to this panel's LFO below.
    const int lfo1 = ParameterTable::lfoBase(0);
    rateKnob = addChild<FloatParameterKnob>(*this, lfo1 + rateOffset, "RAT");
    syncedRateKnob = addChild<IntParameterKnob>(*this, lfo1 + syncedRateOffset, "RAT", maxSyncedRate);
    multiplyButton = makeSwitch("mult button", "x 100");
    syncButton = makeSwitch("sync button", "SYNC");
    waveKnob = addChild<IntParameterKnob>(*this, lfo1 + waveOffset, "WAV", maxWave);
    sourceChip = addChild<ModSourceComponent>(*this, title);

    const int lfo = lfoNumber >= 1 && lfoNumber <= 3 ? lfoNumber - 1 : 3;
    const int base = ParameterTable::lfoBase(lfo);
    waveKnob->paramIndex = base + waveOffset;
    rateKnob->paramIndex = base + rateOffset;
    syncedRateKnob->paramIndex = base + syncedRateOffset;
    multiplyParamIndex = base + multiplyOffset;
    syncParamIndex = base + syncOffset;
    sourceChip->setName(
        ParameterTable::sourceIdentifiers[static_cast<size_t>(ParameterTable::srcLfo1 + lfo)]);

    const int waveSlot = lfo1WaveModSlot + modSlotsPerLfo * lfo;
    waveModTarget = addChild<ModTargetComponent>(*this, ParameterTable::modSourceIndex(waveSlot));
    waveModDepth = addChild<ModDepthComponent>(*this, ParameterTable::modDepthIndex(waveSlot));
    rateModTarget = addChild<ModTargetComponent>(*this, ParameterTable::modSourceIndex(waveSlot + 1));
    rateModDepth = addChild<ModDepthComponent>(*this, ParameterTable::modDepthIndex(waveSlot + 1));

    setSize(230, 130);

    syncButton->setClickingTogglesState(true);
    multiplyButton->setClickingTogglesState(true);
    syncButton->setWantsKeyboardFocus(false);
    multiplyButton->setWantsKeyboardFocus(false);

    ModulePanel::setArcColour(*waveKnob->slider, EditorPalette::lfoAndMixer);
    ModulePanel::setKnobColour(*rateKnob, EditorPalette::lfoAndMixer);
    ModulePanel::setArcColour(*syncedRateKnob->slider, EditorPalette::lfoAndMixer);
}

LfoComponent::~LfoComponent()
{
    rateKnob = nullptr;
    syncedRateKnob = nullptr;
    multiplyButton = nullptr;
    syncButton = nullptr;
    waveKnob = nullptr;
}

std::unique_ptr<juce::TextButton> LfoComponent::makeSwitch(const char* name, const char* text)
{
    auto button = ModulePanel::addChild<juce::TextButton>(*this, name);
    button->setButtonText(juce::translate(text));
    button->addListener(this);
    // Filled grey with black text while on, a grey outline with grey text while off.
    button->setColour(juce::TextButton::buttonColourId, EditorPalette::grey);
    button->setColour(juce::TextButton::buttonOnColourId, EditorPalette::grey);
    button->setColour(juce::TextButton::textColourOnId, EditorPalette::black);
    button->setColour(juce::TextButton::textColourOffId, EditorPalette::grey);
    return button;
}

void LfoComponent::paint(juce::Graphics& g)
{
    ModulePanel::paintBox(g, *this);
    ModulePanel::strokeConnector(g, connectorPath);
}

void LfoComponent::resized()
{
    // Both rate knobs stand in one place; only one shows once the panel has been refreshed.
    rateKnob->setBounds(80, 30, 70, 50);
    syncedRateKnob->setBounds(80, 30, 70, 50);
    multiplyButton->setBounds(160, 105, 50, 15);
    syncButton->setBounds(160, 85, 50, 15);
    waveKnob->setBounds(10, 30, 70, 50);

    // From the middle of the SYNC switch's top edge up, then left to the rate dial's right edge.
    connectorPath.clear();
    connectorPath.startNewSubPath(185.0f, 85.0f);
    connectorPath.lineTo(185.0f, 45.0f);
    connectorPath.lineTo(135.0f, 45.0f);

    sourceChip->setBounds(0, 0, 230, 20);
    waveModTarget->setBounds(15, 85, 60, 15);
    waveModDepth->setBounds(15, 105, 60, 15);
    rateModTarget->setBounds(85, 85, 60, 15);
    rateModDepth->setBounds(85, 105, 60, 15);
}

void LfoComponent::showRateKnobForSync()
{
    const bool synced = syncButton->getToggleState();
    syncedRateKnob->setVisible(synced);
    rateKnob->setVisible(!synced);
}

void LfoComponent::buttonClicked(juce::Button* button)
{
    // The click has already flipped the switch.
    if (button == multiplyButton.get())
    {
        commitParameterEdit(processor, multiplyParamIndex, switchValue(*multiplyButton));
    }
    else if (button == syncButton.get())
    {
        commitParameterEdit(processor, syncParamIndex, switchValue(*syncButton));
        showRateKnobForSync();
    }
}

void LfoComponent::updateFromPlugin()
{
    if (processor == nullptr)
        return;

    // Any value but exactly 0 shows a switch on.
    syncButton->setToggleState(processor->getParameter(syncParamIndex) != 0.0f, juce::dontSendNotification);
    multiplyButton->setToggleState(processor->getParameter(multiplyParamIndex) != 0.0f,
                                   juce::dontSendNotification);
    showRateKnobForSync();

    // The hidden rate knob is refreshed too, so a SYNC click shows it with the current value.
    waveKnob->updateFromPlugin();
    rateKnob->updateFromPlugin();
    syncedRateKnob->updateFromPlugin();
    waveModTarget->updateFromPlugin();
    waveModDepth->updateFromPlugin();
    rateModTarget->updateFromPlugin();
    rateModDepth->updateFromPlugin();
}

void LfoComponent::setProcessor(QuorvelAudioProcessor* processorToUse)
{
    processor = processorToUse;
    waveKnob->processor = processorToUse;
    rateKnob->processor = processorToUse;
    syncedRateKnob->processor = processorToUse;
    waveModTarget->processor = processorToUse;
    waveModDepth->processor = processorToUse;
    rateModTarget->processor = processorToUse;
    rateModDepth->processor = processorToUse;
}
