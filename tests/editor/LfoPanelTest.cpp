// The LFO panel: bindings for every LFO number, the SYNC and x 100 switches, and which rate knob shows.
#include "ModulePanelFixture.h"
#include "editor/LfoComponent.h"

namespace
{
struct Expected
{
    int wave, rate, multiply, sync, syncedRate;
    int waveSlot, rateSlot;
    const char* chipName;
};

const Expected lfos[] = {{20, 21, 22, 23, 24, 94, 96, "Src_Lfo1"},
                         {25, 26, 27, 28, 29, 98, 100, "Src_Lfo2"},
                         {30, 31, 32, 33, 34, 102, 104, "Src_Lfo3"},
                         {35, 36, 37, 38, 39, 106, 108, "Src_Lfo4"}};

void expectBindings(const LfoComponent& panel, const Expected& expected)
{
    EXPECT_EQ(panel.waveKnob->paramIndex, expected.wave);
    EXPECT_EQ(panel.rateKnob->paramIndex, expected.rate);
    EXPECT_EQ(panel.multiplyParamIndex, expected.multiply);
    EXPECT_EQ(panel.syncParamIndex, expected.sync);
    EXPECT_EQ(panel.syncedRateKnob->paramIndex, expected.syncedRate);
    EXPECT_EQ(panel.waveModTarget->paramIndex, expected.waveSlot);
    EXPECT_EQ(panel.waveModDepth->paramIndex, expected.waveSlot + 1);
    EXPECT_EQ(panel.rateModTarget->paramIndex, expected.rateSlot);
    EXPECT_EQ(panel.rateModDepth->paramIndex, expected.rateSlot + 1);
    EXPECT_EQ(panel.sourceChip->getName(), expected.chipName);
}
} // namespace

class LfoPanelTest : public ModulePanelTest
{
protected:
    // A click as the user makes it: the framework flips the switch and then tells the panel.
    static void click(juce::Button& button)
    {
        button.triggerClick();
        runPendingMessages();
    }

    bool showsSyncedRate()
    {
        EXPECT_NE(panel.rateKnob->isVisible(), panel.syncedRateKnob->isVisible());
        return panel.syncedRateKnob->isVisible();
    }

    LfoComponent panel{2, "LFO 2"};
};

TEST_F(LfoPanelTest, EachNumberBindsItsLfoAndAnyOtherNumberLfoFour)
{
    for (int n = 1; n <= 4; ++n)
        expectBindings(LfoComponent(n, "LFO"), lfos[n - 1]);
    for (int n : {0, 5, -2})
        expectBindings(LfoComponent(n, "LFO 4"), lfos[3]);

    EXPECT_EQ(panel.getName(), "Lfo Component");
    EXPECT_EQ(panel.getBounds(), juce::Rectangle<int>(0, 0, 230, 130));
    EXPECT_EQ(panel.sourceChip->text, "LFO 2");
    EXPECT_EQ(panel.waveKnob->maxValue, 5);
    EXPECT_EQ(panel.syncedRateKnob->maxValue, 17);
    const juce::Colour yellow(0xfffbff03);
    EXPECT_EQ(panel.rateKnob->knobColour, yellow);
    for (auto* slider :
         {panel.waveKnob->slider.get(), panel.rateKnob->slider.get(), panel.syncedRateKnob->slider.get()})
        EXPECT_EQ(slider->findColour(juce::Slider::rotarySliderFillColourId), yellow);

    for (auto* button : {panel.syncButton.get(), panel.multiplyButton.get()})
    {
        EXPECT_TRUE(button->getClickingTogglesState());
        EXPECT_FALSE(button->getWantsKeyboardFocus());
        EXPECT_EQ(button->findColour(juce::TextButton::textColourOnId), juce::Colours::black);
    }
    EXPECT_EQ(panel.syncButton->getName(), "sync button");
    EXPECT_EQ(panel.syncButton->getButtonText(), "SYNC");
    EXPECT_EQ(panel.multiplyButton->getName(), "mult button");
    EXPECT_EQ(panel.multiplyButton->getButtonText(), "x 100");
}

TEST_F(LfoPanelTest, ChildrenKeepTheirPlacesAndTheConnectorIsDrawnOnce)
{
    panel.setSize(300, 200);
    panel.setSize(230, 130);
    const std::pair<juce::Component*, juce::Rectangle<int>> places[] = {
        {panel.rateKnob.get(), {80, 30, 70, 50}},         {panel.syncedRateKnob.get(), {80, 30, 70, 50}},
        {panel.multiplyButton.get(), {160, 105, 50, 15}}, {panel.syncButton.get(), {160, 85, 50, 15}},
        {panel.waveKnob.get(), {10, 30, 70, 50}},         {panel.sourceChip.get(), {0, 0, 230, 20}},
        {panel.waveModTarget.get(), {15, 85, 60, 15}},    {panel.waveModDepth.get(), {15, 105, 60, 15}},
        {panel.rateModTarget.get(), {85, 85, 60, 15}},    {panel.rateModDepth.get(), {85, 105, 60, 15}}};
    for (size_t i = 0; i < std::size(places); ++i)
    {
        EXPECT_EQ(places[i].first->getBounds(), places[i].second) << places[i].first->getName();
        // Children were added in this order, so the synced-rate knob starts in front of the free one.
        EXPECT_EQ(panel.getChildComponent(static_cast<int>(i)), places[i].first);
    }

    std::vector<juce::Point<float>> corners;
    for (juce::Path::Iterator it(panel.connectorPath); it.next();)
        corners.push_back({it.x1, it.y1});
    EXPECT_EQ(corners, (std::vector<juce::Point<float>>{{185, 85}, {185, 45}, {135, 45}}));
}

TEST_F(LfoPanelTest, SyncWritesItsParameterAndSwapsTheRateKnobs)
{
    place(panel);
    panel.updateFromPlugin();
    EXPECT_FALSE(showsSyncedRate());

    click(*panel.syncButton);
    expectEdit(28, 1.0f, "SYNC", "ON");
    EXPECT_TRUE(showsSyncedRate());

    forgetEdits();
    click(*panel.syncButton);
    expectEdit(28, 0.0f, "SYNC", "OFF");
    EXPECT_FALSE(showsSyncedRate());

    // x 100 writes its own parameter and leaves the rate knobs alone.
    forgetEdits();
    click(*panel.multiplyButton);
    expectEdit(27, 1.0f, "RATE MULTIPLY", "ON");
    EXPECT_FALSE(showsSyncedRate());
}

TEST_F(LfoPanelTest, InLearnModeAClickArmsTheSwitchsParameterAndInUnlearnModeFreesIt)
{
    place(panel);
    param(27).midiCC = 40;
    processor->learnMode = true;
    processor->unlearnMode = true;
    click(*panel.multiplyButton);
    EXPECT_TRUE(param(27).learnArmed);
    EXPECT_EQ(param(27).midiCC, -1);
    EXPECT_FALSE(param(28).learnArmed);
}

TEST_F(LfoPanelTest, RefreshFollowsTheParametersWithoutWritingBack)
{
    place(panel);
    processor->learnMode = true;

    // Any value but exactly 0 shows a switch on.
    setNormalised(28, 0.5f);
    setNormalised(27, 1.0f);
    setNormalised(26, 0.25f);        // free rate
    setNormalised(29, 3.0f / 17.0f); // synced rate "1 BAR"
    setNormalised(25, 0.2f);         // waveform "SQR"
    setNormalised(100, 8.0f / 17.0f);
    panel.updateFromPlugin();

    EXPECT_TRUE(panel.syncButton->getToggleState());
    EXPECT_TRUE(panel.multiplyButton->getToggleState());
    EXPECT_TRUE(showsSyncedRate());
    // The hidden free-rate knob is kept up to date too.
    EXPECT_EQ(panel.rateKnob->slider->getValue(), 0.25);
    EXPECT_EQ(panel.syncedRateKnob->label->getText(), "1 BAR");
    EXPECT_EQ(panel.waveKnob->label->getText(), "SQR");
    EXPECT_EQ(panel.rateModTarget->text, "LFO 1");

    setNormalised(28, 0.0f);
    panel.updateFromPlugin();
    EXPECT_FALSE(panel.syncButton->getToggleState());
    EXPECT_FALSE(showsSyncedRate());

    runPendingMessages();
    expectNothingWritten();
}
