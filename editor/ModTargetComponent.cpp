#include "editor/ModTargetComponent.h"

#include "editor/CommitParameterEdit.h"
#include "editor/EditorPalette.h"
#include "editor/FontScaling.h"
#include "plugin/ParameterTable.h"
#include "plugin/PluginProcessor.h"

ModTargetComponent::ModTargetComponent(int paramIndexToEdit)
{
    setName("Mod Target Component");
    fontHeight = 14.0f;
    lastHeight = 20.0f;
    font = juce::Font(14.0f);
    setSize(145, 20);
    backgroundColour = EditorPalette::fieldFill;
    text = "None";
    paramIndex = paramIndexToEdit;
}

void ModTargetComponent::paint(juce::Graphics& g)
{
    const auto bounds = getLocalBounds().toFloat();
    g.fillAll(backgroundColour);
    g.setColour(EditorPalette::grey);
    g.drawRect(bounds, 1.0f);
    g.setFont(font);
    g.setColour(EditorPalette::slotText);
    g.drawText(text, bounds, juce::Justification::centred, true);
}

void ModTargetComponent::resized()
{
    rescaleFont(font, fontHeight, lastHeight, getHeight());
}

void ModTargetComponent::setBackground(juce::Colour colour)
{
    backgroundColour = colour;
    repaint();
}

void ModTargetComponent::itemDragEnter(const SourceDetails&)
{
    setBackground(EditorPalette::targetHover);
}

void ModTargetComponent::itemDragExit(const SourceDetails&)
{
    setBackground(EditorPalette::fieldFill);
}

void ModTargetComponent::itemDropped(const SourceDetails& details)
{
    // The container sends no exit notice to the target that takes the drop.
    setBackground(EditorPalette::fieldFill);

    // A source component deleted during the drag carries no source.
    const auto* source = details.sourceComponent.get();
    if (source == nullptr)
        return;

    // The source travels only in the chip's component name, compared exactly.
    const auto name = source->getName();
    for (int k = 0; k < ParameterTable::numSources; ++k)
    {
        if (name == ParameterTable::sourceIdentifiers[static_cast<size_t>(k)])
        {
            commitParameterEdit(processor, paramIndex, ParameterTable::sourceToNormalised(k));
            return;
        }
    }
}

void ModTargetComponent::updateFromPlugin()
{
    if (processor == nullptr)
        return;

    text = processor->getParameterText(paramIndex);
    repaint();
}
