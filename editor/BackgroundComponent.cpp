#include "editor/BackgroundComponent.h"

BackgroundComponent::BackgroundComponent()
{
    setName("BackgroundComponent");
    setSize(1000, 700);
}

BackgroundComponent::~BackgroundComponent() = default;

void BackgroundComponent::paint(juce::Graphics& g)
{
    g.fillAll(juce::Colours::black);
}

void BackgroundComponent::resized() {}
