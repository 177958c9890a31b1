// Which parameter each control of the module panels edits, for each module number and any other number.
#include "ModulePanelFixture.h"
#include "editor/CrusherComponent.h"
#include "editor/FilterComponent.h"
#include "editor/LfoComponent.h"
#include "editor/MixerComponent.h"
#include "editor/MultiplierComponent.h"

namespace
{
const juce::Colour blue{0xff308bff}, green{0xff0be067};

// Knobs left to right, then the slots' target and depth pairs from firstSlot on.
struct ThreeKnobs
{
    const char* chipName;
    int firstKnob, firstSlot;
    juce::Colour arc;
};

template <typename Panel> void expectThreeKnobs(const Panel& panel, const ThreeKnobs& expected)
{
    EXPECT_EQ(panel.sourceChip->getName(), expected.chipName);
    const FloatParameterKnob* knobs[] = {panel.knob1.get(), panel.knob2.get(), panel.knob3.get()};
    for (int i = 0; i < 3; ++i)
    {
        EXPECT_EQ(knobs[i]->paramIndex, expected.firstKnob + i);
        EXPECT_EQ(knobs[i]->slider->findColour(juce::Slider::rotarySliderFillColourId), expected.arc);
    }
    const int slots[] = {panel.modTarget1->paramIndex, panel.modDepth1->paramIndex,
                         panel.modTarget2->paramIndex, panel.modDepth2->paramIndex,
                         panel.modTarget3->paramIndex, panel.modDepth3->paramIndex};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(slots[i], expected.firstSlot + i);
}
} // namespace

using ModulePanelBindingsTest = ModulePanelTest;

TEST_F(ModulePanelBindingsTest, FiltersAndCrushersBindModuleOneAndForAnyOtherNumberModuleTwo)
{
    expectThreeKnobs(FilterComponent(1, "FILTER 1"), {"Src_Filter1", 6, 68, blue});
    expectThreeKnobs(CrusherComponent(1, "CRUSHER 1"), {"Src_Crusher1", 12, 80, blue});
    for (int number : {2, 0, 3})
    {
        expectThreeKnobs(FilterComponent(number, "FILTER 2"), {"Src_Filter2", 9, 74, green});
        expectThreeKnobs(CrusherComponent(number, "CRUSHER 2"), {"Src_Crusher2", 15, 86, green});
    }

    // The title only names the chip.
    FilterComponent mislabelled(2, "FILTER 1");
    EXPECT_EQ(mislabelled.sourceChip->text, "FILTER 1");
    expectThreeKnobs(mislabelled, {"Src_Filter2", 9, 74, green});
}

TEST_F(ModulePanelBindingsTest, LfosBindTheirOwnParametersAndAnyOtherNumberLfoFour)
{
    for (int number : {1, 2, 3, 4, 0, 5})
    {
        const int n = number >= 1 && number <= 3 ? number : 4;
        const int base = 20 + 5 * (n - 1), slots = 94 + 4 * (n - 1);
        LfoComponent panel(number, "LFO");
        EXPECT_EQ(panel.waveKnob->paramIndex, base);
        EXPECT_EQ(panel.rateKnob->paramIndex, base + 1);
        EXPECT_EQ(panel.multiplyParamIndex, base + 2);
        EXPECT_EQ(panel.syncParamIndex, base + 3);
        EXPECT_EQ(panel.syncedRateKnob->paramIndex, base + 4);
        EXPECT_EQ(panel.waveModTarget->paramIndex, slots);
        EXPECT_EQ(panel.waveModDepth->paramIndex, slots + 1);
        EXPECT_EQ(panel.rateModTarget->paramIndex, slots + 2);
        EXPECT_EQ(panel.rateModDepth->paramIndex, slots + 3);
        EXPECT_EQ(panel.sourceChip->getName(), "Src_Lfo" + juce::String(n));
        EXPECT_EQ(panel.waveKnob->maxValue, 5);
        EXPECT_EQ(panel.syncedRateKnob->maxValue, 17);
    }
}

TEST_F(ModulePanelBindingsTest, MixersAndMultipliersBindTheirSourcesAndAnyOtherNumberTheLastOne)
{
    for (int number : {1, 2, 3, 4, 0, 5})
    {
        const int n = number >= 1 && number <= 3 ? number : 4;
        const int base = 40 + 3 * (n - 1);
        MixerComponent panel(number, "MIXER");
        EXPECT_EQ(panel.sourceAParam, base);
        EXPECT_EQ(panel.sourceBParam, base + 1);
        EXPECT_EQ(panel.mixKnob->paramIndex, base + 2);
        EXPECT_EQ(panel.modTarget->paramIndex, 110 + 2 * (n - 1));
        EXPECT_EQ(panel.modDepth->paramIndex, 111 + 2 * (n - 1));
        EXPECT_EQ(panel.sourceChip->getName(), "Src_Mixer" + juce::String(n));
    }
    for (int number : {1, 2, 0, 3})
    {
        const int n = number == 1 ? 1 : 2;
        MultiplierComponent panel(number, "MULTIPLIER");
        EXPECT_EQ(panel.sourceAParam, 52 + 2 * (n - 1));
        EXPECT_EQ(panel.sourceBParam, 53 + 2 * (n - 1));
        EXPECT_EQ(panel.sourceChip->getName(), "Src_Multiplier" + juce::String(n));
    }
}
