// A real drag in a window: the display's pointer picks up a chip and drops it on a target.
#include "EditorFixture.h"
#include "TestDisplay.h"
#include "editor/ModSourceComponent.h"
#include "editor/ModTargetComponent.h"

namespace
{
// The drag container with a chip and a target, as the editor window holds them.
struct DragWindow : juce::Component, juce::DragAndDropContainer
{
    DragWindow()
    {
        chip.setName("Src_Lfo3");
        addAndMakeVisible(chip);
        addAndMakeVisible(target);
        chip.setBounds(20, 20, 145, 20);
        target.setBounds(20, 120, 145, 20);
        setSize(200, 170);
    }

    void paint(juce::Graphics& g) override { g.fillAll(juce::Colours::black); }

    ModSourceComponent chip{"LFO 3"};
    ModTargetComponent target{96}; // LFO1_RateModSrc
};
} // namespace

using RealDragTest = EditorControlTest;

TEST_F(RealDragTest, DraggingAChipOntoATargetLightsItAndSelectsTheChipsSource)
{
    TestDisplay display;
    if (!display.available())
        GTEST_SKIP() << "needs an X display with the XTest extension (run under xvfb-run)";

    DragWindow dragWindow;
    dragWindow.target.processor = processor.get();
    dragWindow.setTopLeftPosition(300, 300);
    dragWindow.addToDesktop(0);
    dragWindow.setVisible(true);
    runMessages(300);
    ASSERT_TRUE(dragWindow.isShowing());

    const auto from = dragWindow.chip.getScreenBounds().getCentre();
    const auto to = dragWindow.target.getScreenBounds().getCentre();
    display.movePointer(from);
    runMessages(100);
    display.pressButton(true);
    display.glide(from, to);
    runMessages(100);
    EXPECT_TRUE(dragWindow.isDragAndDropActive());
    EXPECT_EQ(dragWindow.target.backgroundColour, juce::Colour(0x80d02aff));

    display.pressButton(false);
    runMessages(300);
    EXPECT_EQ(dragWindow.target.backgroundColour, juce::Colour(0x40aeaeae));
    EXPECT_EQ(host.events, HostEventLog::edit(96, 10.0f / 17.0f));
}
