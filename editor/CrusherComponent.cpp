#include "editor/CrusherComponent.h"

namespace
{
// Crusher 1: Bits, Rate, Mix at 12..14, modulated by slots 12..14; crusher 2 follows.
const ThreeKnobModule crusherModule{
    "Crusher Component", {"BIT", "RAT", "MIX"}, 12, 12, ParameterTable::srcCrusher1};
} // namespace

CrusherComponent::CrusherComponent(int moduleNumber, juce::String title)
    : ThreeKnobPanel(crusherModule, moduleNumber, std::move(title))
{
}
