#include "editor/MultiplierComponent.h"

#include "editor/ModulePanel.h"
#include "editor/SourceBox.h"
#include "plugin/ParameterTable.h"
#include "plugin/PluginProcessor.h"

namespace
{
// Multiplier 1's Source A and Source B, then multiplier 2's.
constexpr int multiplier1SourceA = 52, parametersPerMultiplier = 2;
} // namespace

MultiplierComponent::MultiplierComponent(int multiplierNumber, juce::String title)
{
    setName("Multiplier Component");

    sourceABox = SourceBox::create(*this, "Source A box", this);
    sourceBBox = SourceBox::create(*this, "Source B box", this);
    sourceChip = ModulePanel::addChild<ModSourceComponent>(*this, title);

    const int multiplier = multiplierNumber == 1 ? 0 : 1;
    sourceAParam = multiplier1SourceA + parametersPerMultiplier * multiplier;
    sourceBParam = sourceAParam + 1;
    sourceChip->setName(
        ParameterTable::sourceIdentifiers[static_cast<size_t>(ParameterTable::srcMultiplier1 + multiplier)]);

    setSize(230, 65);
    sourceABox->setWantsKeyboardFocus(false);
    sourceBBox->setWantsKeyboardFocus(false);
}

MultiplierComponent::~MultiplierComponent()
{
    sourceABox = nullptr;
    sourceBBox = nullptr;
    sourceChip = nullptr;
}

void MultiplierComponent::paint(juce::Graphics& g)
{
    ModulePanel::paintBox(g, *this);
}

void MultiplierComponent::resized()
{
    sourceABox->setBounds(10, 35, 100, 15);
    sourceBBox->setBounds(120, 35, 100, 15);
    sourceChip->setBounds(0, 0, 230, 20);
}

void MultiplierComponent::comboBoxChanged(juce::ComboBox* box)
{
    SourceBox::commitPick(processor, box, *sourceABox, sourceAParam, *sourceBBox, sourceBParam);
}

void MultiplierComponent::updateFromPlugin()
{
    if (processor == nullptr)
        return;

    SourceBox::show(*sourceABox, processor->getParameter(sourceAParam));
    SourceBox::show(*sourceBBox, processor->getParameter(sourceBParam));
}
