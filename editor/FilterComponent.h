#pragma once

#include "editor/ThreeKnobPanel.h"

// The module page's panel of one morphing filter: Morph, Cutoff and Resonance, each with a modulation slot
// under it.
class FilterComponent : public ThreeKnobPanel
{
public:
    FilterComponent(int moduleNumber, juce::String title);
};
