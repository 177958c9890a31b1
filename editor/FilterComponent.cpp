#include "editor/FilterComponent.h"

namespace
{
// Filter 1: Morph, Cutoff, Resonance at 6..8, modulated by slots 6..8; filter 2 follows.
const ThreeKnobModule filterModule{
    "Filter Component", {"MRP", "CUT", "RES"}, 6, 6, ParameterTable::srcFilter1};
} // namespace

FilterComponent::FilterComponent(int moduleNumber, juce::String title)
    : ThreeKnobPanel(filterModule, moduleNumber, std::move(title))
{
}
