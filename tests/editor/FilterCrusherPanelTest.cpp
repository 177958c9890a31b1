// The filter and crusher panels: bindings for both modules and any other number, names, colours, layout.
#include "ModulePanelFixture.h"
#include "editor/CrusherComponent.h"
#include "editor/FilterComponent.h"

namespace
{
struct Expected
{
    const char* panelName;
    const char* chipName;
    int knobs[3];
    int firstSlot; // the slots' target, depth pairs follow one another from here
    juce::Colour arc;
};

const juce::Colour blue{0xff308bff}, green{0xff0be067};

const Expected filter1{"Filter Component", "Src_Filter1", {6, 7, 8}, 68, blue};
const Expected filter2{"Filter Component", "Src_Filter2", {9, 10, 11}, 74, green};
const Expected crusher1{"Crusher Component", "Src_Crusher1", {12, 13, 14}, 80, blue};
const Expected crusher2{"Crusher Component", "Src_Crusher2", {15, 16, 17}, 86, green};

template <typename Panel> void expectPanel(const Panel& panel, const Expected& expected)
{
    EXPECT_EQ(panel.getName(), expected.panelName);
    EXPECT_EQ(panel.getBounds(), juce::Rectangle<int>(0, 0, 230, 130));
    EXPECT_EQ(panel.sourceChip->getName(), expected.chipName);

    const FloatParameterKnob* knobs[] = {panel.knob1.get(), panel.knob2.get(), panel.knob3.get()};
    for (int i = 0; i < 3; ++i)
    {
        EXPECT_EQ(knobs[i]->paramIndex, expected.knobs[i]);
        EXPECT_EQ(knobs[i]->slider->findColour(juce::Slider::rotarySliderFillColourId), expected.arc);
        EXPECT_EQ(knobs[i]->knobColour, expected.arc == green ? green : juce::Colour());
    }
    const int slots[] = {panel.modTarget1->paramIndex, panel.modDepth1->paramIndex,
                         panel.modTarget2->paramIndex, panel.modDepth2->paramIndex,
                         panel.modTarget3->paramIndex, panel.modDepth3->paramIndex};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(slots[i], expected.firstSlot + i);
}

template <typename Panel> void expectFixedLayout(Panel& panel)
{
    panel.setSize(400, 300);
    const std::pair<juce::Component*, juce::Rectangle<int>> places[] = {
        {panel.knob1.get(), {10, 30, 70, 50}},       {panel.knob2.get(), {80, 30, 70, 50}},
        {panel.knob3.get(), {150, 30, 70, 50}},      {panel.sourceChip.get(), {0, 0, 230, 20}},
        {panel.modTarget1.get(), {15, 85, 60, 15}},  {panel.modDepth1.get(), {15, 105, 60, 15}},
        {panel.modTarget2.get(), {85, 85, 60, 15}},  {panel.modDepth2.get(), {85, 105, 60, 15}},
        {panel.modTarget3.get(), {155, 85, 60, 15}}, {panel.modDepth3.get(), {155, 105, 60, 15}}};
    for (const auto& [child, bounds] : places)
        EXPECT_EQ(child->getBounds(), bounds) << child->getName();

    // Back to front: the knobs, the chip, then the slots target before depth.
    const juce::Component* order[] = {panel.knob1.get(),      panel.knob2.get(),      panel.knob3.get(),
                                      panel.sourceChip.get(), panel.modTarget1.get(), panel.modDepth1.get(),
                                      panel.modTarget2.get(), panel.modDepth2.get(),  panel.modTarget3.get(),
                                      panel.modDepth3.get()};
    ASSERT_EQ(panel.getNumChildComponents(), 10);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(panel.getChildComponent(i), order[i]);
}
} // namespace

using FilterCrusherPanelTest = ModulePanelTest;

TEST_F(FilterCrusherPanelTest, ModuleOneBindsTheFirstModuleAndAnyOtherNumberTheSecond)
{
    expectPanel(FilterComponent(1, "FILTER 1"), filter1);
    expectPanel(CrusherComponent(1, "CRUSHER 1"), crusher1);
    for (int number : {2, 0, 3, -1})
    {
        expectPanel(FilterComponent(number, "FILTER 2"), filter2);
        expectPanel(CrusherComponent(number, "CRUSHER 2"), crusher2);
    }

    // The title only names the chip.
    FilterComponent mislabelled(2, "FILTER 1");
    EXPECT_EQ(mislabelled.sourceChip->text, "FILTER 1");
    expectPanel(mislabelled, filter2);
}

TEST_F(FilterCrusherPanelTest, ChildrenKeepTheirPlacesAndOrderWhateverThePanelsSize)
{
    FilterComponent filter(1, "FILTER 1");
    expectFixedLayout(filter);
    CrusherComponent crusher(2, "CRUSHER 2");
    expectFixedLayout(crusher);
}

TEST_F(FilterCrusherPanelTest, RefreshShowsEveryControlsParameterAndWritesNothing)
{
    CrusherComponent panel(2, "CRUSHER 2");
    place(panel);
    processor->learnMode = true;
    setNormalised(16, 0.25f);        // Crusher2_Rate
    setNormalised(88, 9.0f / 17.0f); // its modulation source: LFO 2
    setNormalised(89, 0.5f);
    panel.updateFromPlugin();

    EXPECT_EQ(panel.knob2->slider->getValue(), 0.25);
    EXPECT_EQ(panel.modTarget2->text, "LFO 2");
    EXPECT_EQ(panel.modDepth2->label->getText(), "50.00 %");
    EXPECT_EQ(panel.modTarget1->text, "NONE");
    EXPECT_FALSE(panel.knob1->needsDefault);
    runPendingMessages();
    expectNothingWritten();
}

TEST_F(FilterCrusherPanelTest, TheControlsEditTheirOwnParameters)
{
    FilterComponent panel(2, "FILTER 2");
    place(panel);

    panel.knob2->slider->setValue(0.5, juce::sendNotificationSync);
    expectEdit(10, 0.5f, "CUTOFF", processor->getParameterText(10));

    // Crusher 2's chip dropped on filter 2's Resonance slot selects source 7.
    CrusherComponent crusher(2, "CRUSHER 2");
    forgetEdits();
    panel.modTarget3->itemDropped({"Mod Source", crusher.sourceChip.get(), {5, 5}});
    expectEdit(78, 7.0f / 17.0f, "MODULATION SOURCE", "CRUSHER 2");
}
