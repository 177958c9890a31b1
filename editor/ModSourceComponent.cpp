#include "editor/ModSourceComponent.h"

#include "editor/EditorPalette.h"
#include "editor/FontScaling.h"

ModSourceComponent::ModSourceComponent(juce::String captionText)
{
    setName("Mod Source Component");
    fontHeight = 14.0f;
    lastHeight = 20.0f;
    font = juce::Font(14.0f);
    setSize(145, 20);
    text = std::move(captionText);
}

void ModSourceComponent::mouseDrag(const juce::MouseEvent&)
{
    auto* container = juce::DragAndDropContainer::findParentDragContainerFor(this);
    // Every drag event of a gesture arrives here; only the first one starts the drag.
    if (container == nullptr || container->isDragAndDropActive())
        return;

    container->startDragging("Mod Source", this, juce::ScaledImage(), false, nullptr, nullptr);
}

void ModSourceComponent::paint(juce::Graphics& g)
{
    const auto bounds = getLocalBounds().toFloat();
    g.fillAll(EditorPalette::chipFill);
    g.setColour(EditorPalette::grey);
    g.drawRect(bounds, 1.0f);
    g.setFont(font);
    g.drawText(text, bounds, juce::Justification::centred, true);
}

void ModSourceComponent::resized()
{
    rescaleFont(font, fontHeight, lastHeight, getHeight());
}
