// The integer knob: whole steps sent as step / maximum, read back to the same step, value text below.
#include "editor/IntParameterKnob.h"
#include "EditorFixture.h"

namespace
{
constexpr int lfo1Wave = 20, lfo1SyncedRate = 24;
}

using IntKnobTest = EditorControlTest;

TEST_F(IntKnobTest, AStepIsSentAsStepOverMaximumAndComesBackAsItselfWithItsText)
{
    IntParameterKnob wave(lfo1Wave, "WAV", 5);
    wire(wave);
    EXPECT_EQ(wave.label->getText(), "WAV");
    wave.slider->setValue(1.0, juce::sendNotificationSync);
    EXPECT_EQ(host.events, HostEventLog::edit(lfo1Wave, 0.2f));
    EXPECT_EQ(processor->messageValue.get(), "SQR");
    wave.updateFromPlugin();
    EXPECT_EQ(wave.label->getText(), "SQR");

    // Between two steps the lower one shows.
    setNormalised(lfo1Wave, 0.5f);
    wave.updateFromPlugin();
    EXPECT_EQ(wave.slider->getValue(), 2.0);

    IntParameterKnob rate(lfo1SyncedRate, "RAT", 17);
    wire(rate);
    // Downwards, so each step moves the dial away from where the last refresh left it.
    for (int step = 17; step >= 0; --step)
    {
        rate.slider->setValue(step, juce::sendNotificationSync);
        rate.updateFromPlugin();
        EXPECT_EQ(rate.slider->getValue(), step);
    }
}

TEST_F(IntKnobTest, DoubleClickReturnsToTheDefaultStep)
{
    IntParameterKnob rate(lfo1SyncedRate, "RAT", 17);
    wire(rate);
    setNormalised(lfo1SyncedRate, 3.0f / 17.0f);
    rate.updateFromPlugin();
    rate.slider->mouseDoubleClick(doubleClick(*rate.slider));
    EXPECT_EQ(host.events, HostEventLog::edit(lfo1SyncedRate, 11.0f / 17.0f));
}
