// The LFO panel's SYNC and x 100 switches: what a click writes, and which rate knob shows.
#include "ModulePanelFixture.h"
#include "editor/LfoComponent.h"

class LfoPanelTest : public ModulePanelTest
{
protected:
    void SetUp() override
    {
        ModulePanelTest::SetUp();
        place(panel);
        panel.updateFromPlugin();
    }

    // A click as the user makes it: the framework flips the switch, then tells the panel.
    static void click(juce::Button& button)
    {
        button.triggerClick();
        runPendingMessages();
    }

    // The two rate knobs share one place; exactly one of them shows.
    bool showsSyncedRate()
    {
        EXPECT_NE(panel.rateKnob->isVisible(), panel.syncedRateKnob->isVisible());
        return panel.syncedRateKnob->isVisible();
    }

    LfoComponent panel{2, "LFO 2"};
};

TEST_F(LfoPanelTest, SyncWritesItsParameterAndSwapsTheRateKnobsWhileXHundredOnlyWritesItsOwn)
{
    EXPECT_FALSE(showsSyncedRate());

    click(*panel.syncButton);
    expectEdit(28, 1.0f, "SYNC", "ON");
    EXPECT_TRUE(showsSyncedRate());

    forgetEdits();
    click(*panel.syncButton);
    expectEdit(28, 0.0f, "SYNC", "OFF");
    EXPECT_FALSE(showsSyncedRate());

    forgetEdits();
    click(*panel.multiplyButton);
    expectEdit(27, 1.0f, "RATE MULTIPLY", "ON");
    EXPECT_FALSE(showsSyncedRate());
}

TEST_F(LfoPanelTest, RefreshFollowsTheParametersWithoutWritingBack)
{
    processor->learnMode = true;

    // Any value but exactly 0 shows a switch on.
    setNormalised(28, 0.5f);
    setNormalised(27, 1.0f);
    setNormalised(26, 0.25f);        // free rate
    setNormalised(29, 3.0f / 17.0f); // synced rate: "1 BAR"
    panel.updateFromPlugin();
    EXPECT_TRUE(panel.syncButton->getToggleState());
    EXPECT_TRUE(panel.multiplyButton->getToggleState());
    EXPECT_TRUE(showsSyncedRate());
    // The hidden free-rate knob is kept up to date too.
    EXPECT_EQ(panel.rateKnob->slider->getValue(), 0.25);
    EXPECT_EQ(panel.syncedRateKnob->label->getText(), "1 BAR");

    setNormalised(28, 0.0f);
    panel.updateFromPlugin();
    EXPECT_FALSE(panel.syncButton->getToggleState());
    EXPECT_FALSE(showsSyncedRate());

    runPendingMessages();
    expectNothingWritten();
}
