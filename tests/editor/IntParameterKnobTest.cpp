// The integer knob: whole steps sent as step / maximum, read back to the same step, value text below.
#include "editor/IntParameterKnob.h"
#include "EditorFixture.h"

namespace
{
constexpr int lfo1Wave = 20, lfo1SyncedRate = 24;
}

using IntKnobTest = EditorControlTest;

TEST_F(IntKnobTest, AStepIsSentAsStepOverMaximumAndShowsItsValueText)
{
    IntParameterKnob wave(lfo1Wave, "WAV", 5);
    wire(wave);
    EXPECT_EQ(wave.getName(), "Int Parameter Knob");
    EXPECT_EQ(wave.label->getText(), "WAV");

    wave.slider->setValue(1.0, juce::sendNotificationSync);
    EXPECT_EQ(host.events, HostEventLog::edit(lfo1Wave, 0.2f));
    EXPECT_EQ(processor->messageName.get(), "WAVEFORM");
    EXPECT_EQ(processor->messageValue.get(), "SQR");

    host.events.clear();
    wave.updateFromPlugin();
    EXPECT_EQ(wave.label->getText(), "SQR");
    EXPECT_EQ(wave.slider->getValue(), 1.0);
    EXPECT_TRUE(host.events.empty());
}

TEST_F(IntKnobTest, EveryStepComesBackAsItselfAndBetweenStepsShowsTheLowerOne)
{
    IntParameterKnob rate(lfo1SyncedRate, "RAT", 17);
    wire(rate);
    // Downwards, so each step moves the dial away from where the last refresh left it.
    for (int step = 17; step >= 0; --step)
    {
        rate.slider->setValue(step, juce::sendNotificationSync);
        rate.updateFromPlugin();
        EXPECT_EQ(rate.slider->getValue(), step);
    }

    IntParameterKnob wave(lfo1Wave, "WAV", 5);
    wire(wave);
    setNormalised(lfo1Wave, 0.5f);
    wave.updateFromPlugin();
    EXPECT_EQ(wave.slider->getValue(), 2.0);
    EXPECT_EQ(wave.label->getText(), processor->getParameterText(lfo1Wave));
}

TEST_F(IntKnobTest, DoubleClickReturnsToTheDefaultStep)
{
    IntParameterKnob rate(lfo1SyncedRate, "RAT", 17);
    wire(rate);
    setNormalised(lfo1SyncedRate, 3.0f / 17.0f);
    rate.updateFromPlugin();

    rate.slider->mouseDoubleClick(mouseEvent(*rate.slider, {20.0f, 20.0f}, {}, 2));
    EXPECT_EQ(host.events, HostEventLog::edit(lfo1SyncedRate, 11.0f / 17.0f));

    host.events.clear();
    rate.updateFromPlugin();
    rate.slider->mouseDoubleClick(mouseEvent(*rate.slider, {20.0f, 20.0f}, {}, 2));
    EXPECT_TRUE(host.events.empty());
}
