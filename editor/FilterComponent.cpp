#include "editor/FilterComponent.h"

#include "editor/ModulePanel.h"
#include "editor/ThreeKnobPanel.h"

namespace
{
// Filter 1: Morph, Cutoff, Resonance at 6..8, modulated by slots 6..8; filter 2 follows.
const ThreeKnobModule module{"Filter Component", {"MRP", "CUT", "RES"}, 6, 6, ParameterTable::srcFilter1};
} // namespace

FilterComponent::FilterComponent(int moduleNumber, juce::String title)
{
    ThreeKnobPanel::build(*this, module, moduleNumber, std::move(title));
}

FilterComponent::~FilterComponent()
{
    knob1 = nullptr;
    knob2 = nullptr;
    knob3 = nullptr;
}

void FilterComponent::paint(juce::Graphics& g)
{
    ModulePanel::paintBox(g, *this);
}

void FilterComponent::resized()
{
    ThreeKnobPanel::layout(*this);
}

void FilterComponent::updateFromPlugin()
{
    ThreeKnobPanel::refresh(*this);
}

void FilterComponent::setProcessor(QuorvelAudioProcessor* processorToUse)
{
    ThreeKnobPanel::wire(*this, processorToUse);
}
