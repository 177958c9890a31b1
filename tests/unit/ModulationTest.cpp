// The modulation rule's worked cases, slot activity, and how each kind of consumer takes the result.
#include "EngineTestSupport.h"

#include "plugin/Modulation.h"
#include "torva/torva_juce_numeric.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

using namespace engine;
using namespace engineTest;
using torvaLib::denormalGuard;

namespace
{

class Modulation : public EngineFixture
{
protected:
    // Slot t driven by the input sample itself, so each test chooses the source value exactly.
    void driveFromInput(int slot, float depthPercent)
    {
        setSource(modSourceIndex(slot), srcInput);
        setPlain(modDepthIndex(slot), depthPercent);
    }
};

} // namespace

// A proportional target record of the given range standing at the given knob value.
float modulateTarget(float lo, float hi, float plain, float depth, float s)
{
    torvaLib::PluginParameter target;
    target.init(lo, hi, plain, false, "Target", "", false, false);
    return applyModulation(target, depth, s);
}

TEST(ModulationRule, WorkedCases)
{
    // Ratio -2..2, mid-point 0: below it a negative knob moves the opposite way to a positive one.
    EXPECT_EQ(modulateTarget(-2.0f, 2.0f, 1.0f, 1.0f, 1.0f), 2.0f);
    EXPECT_EQ(modulateTarget(-2.0f, 2.0f, 1.0f, 1.0f, -1.0f), 0.0f);
    EXPECT_EQ(modulateTarget(-2.0f, 2.0f, 0.0f, 1.0f, 0.7f), 0.0f);
    EXPECT_EQ(modulateTarget(-2.0f, 2.0f, -1.0f, 1.0f, 1.0f), -2.0f);
    EXPECT_EQ(modulateTarget(-2.0f, 2.0f, -1.0f, 1.0f, -1.0f), 0.0f);

    // Size 150 ms: -1 goes to 0 and is clamped to 1 ms, +1 doubles it.
    EXPECT_EQ(modulateTarget(1.0f, 1000.0f, 150.0f, 1.0f, -1.0f), 1.0f);
    EXPECT_EQ(modulateTarget(1.0f, 1000.0f, 150.0f, 1.0f, 1.0f), 300.0f);

    // The cutoff mid-point 5510 belongs to the lower branch (span v); just above it the span is max - v.
    EXPECT_EQ(modulateTarget(20.0f, 11000.0f, 5510.0f, 1.0f, 1.0f), 11000.0f);
    EXPECT_EQ(modulateTarget(20.0f, 11000.0f, 5510.0f, 1.0f, 0.5f), 5510.0f * 0.5f + 5510.0f);
    EXPECT_EQ(modulateTarget(0.0f, 100.0f, 75.0f, 1.0f, 0.5f), 87.5f);

    // A target at its maximum or at 0 does not move; sources beyond +-1 count as +-1.
    EXPECT_EQ(modulateTarget(20.0f, 11000.0f, 11000.0f, 1.0f, 1.0f), 11000.0f);
    EXPECT_EQ(modulateTarget(0.0f, 100.0f, 0.0f, 1.0f, -1.0f), 0.0f);
    EXPECT_EQ(modulateTarget(0.0f, 100.0f, 75.0f, 0.5f, 5.0f), 87.5f);
    EXPECT_EQ(modulateTarget(0.0f, 100.0f, 75.0f, 0.5f, -7.0f), 62.5f);

    // A NaN source passes through unclamped; every consumer guards against it.
    EXPECT_TRUE(std::isnan(modulateTarget(0.0f, 100.0f, 75.0f, 0.5f, std::nanf(""))));
}

TEST_F(Modulation, ActiveOnlyWithDepthAndSourceInTheSnapshot)
{
    setPlain(dryWetParam, 50.0f);
    setSource(inputSourceIndex(inDryWet), srcNone); // output = (1 - m) * g(input)

    driveFromInput(dryWetSlot, 0.0f);
    EXPECT_EQ(runConstant(1, 0.5f).getSample(0, 0), 0.25f);

    setPlain(modDepthIndex(dryWetSlot), 100.0f);
    setSource(modSourceIndex(dryWetSlot), srcNone);
    EXPECT_EQ(runConstant(1, 0.5f).getSample(0, 0), 0.25f);

    // Knob 50 at or below its mid-point: span 50, source 0.5 gives 75 %.
    setSource(modSourceIndex(dryWetSlot), srcInput);
    EXPECT_EQ(runConstant(1, 0.5f).getSample(0, 0), (1.0f - 75.0f * 0.01f) * 0.5f);
}

TEST_F(Modulation, EachChannelUsesItsOwnSourceValue)
{
    setPlain(dryWetParam, 100.0f);
    setSource(inputSourceIndex(inDryWet), srcMixer1);
    setSource(mixerSourceAParam(0), srcInput);
    setSource(mixerSourceBParam(0), srcNone);
    driveFromInput(mixerMixSlot(0), 100.0f);

    auto out = run({0.5f}, {1.0f});
    // Channel 0: mix 75 %, a quarter of the input is left; channel 1: mix 100 %, nothing is left.
    EXPECT_EQ(out.getSample(0, 0), denormalGuard((1.0f - 75.0f * 0.01f) * denormalGuard(0.5f)));
    EXPECT_EQ(out.getSample(1, 0), denormalGuard((1.0f - 100.0f * 0.01f) * denormalGuard(1.0f)));
}

// Counts and indices come through this conversion, NaN and out-of-range values included.
TEST(ModulationRule, TruncationIsDefinedForEveryFloat)
{
    using torvaLib::truncateToInt;
    EXPECT_EQ(truncateToInt(1.9f), 1);
    EXPECT_EQ(truncateToInt(-1.9f), -1);
    EXPECT_EQ(truncateToInt(-0.9f), 0);
    EXPECT_EQ(truncateToInt(2147483520.0f), 2147483520);
    EXPECT_EQ(truncateToInt(-2147483648.0f), INT_MIN);
    EXPECT_EQ(truncateToInt(2147483648.0f), INT_MAX);
    EXPECT_EQ(truncateToInt(-2147483904.0f), INT_MIN);
    EXPECT_EQ(truncateToInt(std::numeric_limits<float>::infinity()), INT_MAX);
    EXPECT_EQ(truncateToInt(-std::numeric_limits<float>::infinity()), INT_MIN);
    EXPECT_EQ(truncateToInt(std::nanf("")), 0);
}

TEST_F(Modulation, IntegerTargetsAreTruncated)
{
    processor->setParameter(crusherBitsParam(0), 1.0f / 15.0f); // plain 2 exactly
    driveFromInput(crusherBitsSlot(0), 100.0f);
    runConstant(1, -0.05f); // 2 * -0.05 + 2 = 1.9
    EXPECT_EQ(processor->crusher1Bitcrusher[0]->bits, 1);
    EXPECT_EQ(processor->crusher1Bitcrusher[1]->bits, 1);

    // A knob standing at 10.5 enters unrounded: 10.5 * 0.5 + 10.5 = 15.75, so Rate 15 and a hold of 14.
    setWhole(crusherRateParam(0), 10);
    driveFromInput(crusherRateSlot(0), 100.0f);
    runConstant(1, 0.5f);
    EXPECT_EQ(processor->crusher1Reducer[0]->hold, 14);
}

TEST_F(Modulation, SyncedRateSlotSelectsTheTruncatedNoteLength)
{
    const int lfo = 0;
    processor->setParameter(lfoSyncParam(lfo), 1.0f);
    driveFromInput(lfoRateSlot(lfo), 100.0f);
    // 9 lies above the mid-point 8.5: out = 8 * 0.9875 + 9 = 16.9, note length 16 ("1/128D"): 48 Hz.
    processor->setParameter(lfoSyncedRateParam(lfo), 9.0f / 17.0f);
    runConstant(1, 0.9875f);
    EXPECT_EQ(processor->lfo1.frequency, 48.0f);
    EXPECT_EQ(processor->lfo1.increment, (1024.0f / 44100.0f) * 48.0f);
}

TEST_F(Modulation, FreeRateSlotFollowsTheMultiplier)
{
    processor->setParameter(lfoRateParam(1), 0.5f); // 10 Hz on the root curve, below the mid-point 20
    processor->setParameter(lfoRateMultiplyParam(1), 1.0f);
    driveFromInput(lfoRateSlot(1), 100.0f);
    runConstant(1, 0.5f);
    const float out = applyModulation(param(lfoRateParam(1)), 1.0f, 0.5f);
    EXPECT_EQ(processor->lfo2.frequency, out * 100.0f);
}

TEST_F(Modulation, CutoffSlotRecomputesTheFilterEverySample)
{
    processor->setParameter(filterCutoffParam(0), 0.5f); // 2765 Hz
    driveFromInput(filterCutoffSlot(0), 100.0f);
    runConstant(1, 0.5f);

    const auto& filter = *processor->filter1Svf[0];
    const float out = applyModulation(param(filterCutoffParam(0)), 1.0f, 0.5f);
    EXPECT_EQ(filter.cutoff, (double)out);
    EXPECT_EQ(filter.tuning, 2.0 * std::sin(((double)out * 3.141592653589793) / (3.0 * 44100.0)));

    // The next block's set-up restores the knob value.
    setPlain(modDepthIndex(filterCutoffSlot(0)), 0.0f);
    runConstant(1, 0.5f);
    EXPECT_EQ(filter.cutoff, (double)param(filterCutoffParam(0)).plainValue.load());
}

TEST_F(Modulation, NonFiniteSourcesNeverReachMemory)
{
    // A NaN input drives every buffer slot and the LFO rate: indices and positions must stay in range.
    for (int slot : {bufferSizeSlot(0), bufferRepeatsSlot(0), bufferRatioSlot(0), lfoRateSlot(0),
                     lfoWaveSlot(0), crusherBitsSlot(0), crusherRateSlot(0), filterCutoffSlot(0)})
        driveFromInput(slot, 100.0f);
    setSource(inputSourceIndex(inDryWet), srcBuffer1);

    const float nan = std::nanf("");
    runConstant(64, nan);
    runConstant(64, std::numeric_limits<float>::infinity());
    runConstant(64, 0.5f);

    const auto& st = *processor->buffer1Stutter[0];
    EXPECT_GE(st.size, 1);
    EXPECT_LE(st.size, st.bufferLength);
    EXPECT_GE(processor->lfo1.phase, 0.0f);
    EXPECT_LT(processor->lfo1.phase, 1024.0f + processor->lfo1.increment);
    EXPECT_EQ(processor->filter1Svf[0]->cutoff, 11000.0);
}
