#pragma once

#include "editor/ThreeKnobPanel.h"

// The module page's panel of one bit crusher: Bits, Rate and Mix, each with a modulation slot under it.
class CrusherComponent : public ThreeKnobPanel
{
public:
    CrusherComponent(int moduleNumber, juce::String title);
};
