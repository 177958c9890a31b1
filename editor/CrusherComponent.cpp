#include "editor/CrusherComponent.h"

#include "editor/ModulePanel.h"
#include "editor/ThreeKnobPanel.h"

namespace
{
// Crusher 1: Bits, Rate, Mix at 12..14, modulated by slots 12..14; crusher 2 follows.
const ThreeKnobModule module{"Crusher Component", {"BIT", "RAT", "MIX"}, 12, 12, ParameterTable::srcCrusher1};
} // namespace

CrusherComponent::CrusherComponent(int moduleNumber, juce::String title)
{
    ThreeKnobPanel::build(*this, module, moduleNumber, std::move(title));
}

CrusherComponent::~CrusherComponent()
{
    knob1 = nullptr;
    knob2 = nullptr;
    knob3 = nullptr;
}

void CrusherComponent::paint(juce::Graphics& g)
{
    ModulePanel::paintBox(g, *this);
}

void CrusherComponent::resized()
{
    ThreeKnobPanel::layout(*this);
}

void CrusherComponent::updateFromPlugin()
{
    ThreeKnobPanel::refresh(*this);
}

void CrusherComponent::setProcessor(QuorvelAudioProcessor* processorToUse)
{
    ThreeKnobPanel::wire(*this, processorToUse);
}
