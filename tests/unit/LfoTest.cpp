// LFO: table entries, increment, the order of read and advance, restart, sample-and-hold walking, and
// that no phase can index outside a table.
#include "torva/torva_juce_lfo.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

namespace
{

float floatFromBits(uint32_t u)
{
    float f;
    std::memcpy(&f, &u, sizeof f);
    return f;
}

void setUp(torvaLib::Lfo& lfo, int wave, float hz)
{
    lfo.setWave(wave);
    lfo.setFrequency(hz);
    lfo.updateIncrement();
}

} // namespace

TEST(Lfo, TablesHoldTheirDefinedEntries)
{
    torvaLib::Lfo lfo;
    EXPECT_EQ(lfo.sineTable[0], 0.0f);
    EXPECT_EQ(lfo.sineTable[256], 1.0f);
    EXPECT_EQ(lfo.sineTable[768], -1.0f);
    EXPECT_EQ(lfo.sineTable[1], std::sin(floatFromBits(0x3BC90FDB)));
    EXPECT_EQ(lfo.squareTable[511], 1.0f);
    EXPECT_EQ(lfo.squareTable[512], -1.0f);
    EXPECT_EQ(lfo.sawUpTable[0], -1.0f);
    EXPECT_EQ(lfo.sawUpTable[1023], 0.998046875f);
    EXPECT_EQ(lfo.sawDownTable[0], 1.0f);
    EXPECT_EQ(lfo.sawDownTable[1023], -0.998046875f);
    EXPECT_EQ(lfo.triangleTable[0], -1.0f);
    EXPECT_EQ(lfo.triangleTable[511], 0.99609375f);
    EXPECT_EQ(lfo.triangleTable[512], 1.0f);
    EXPECT_EQ(lfo.triangleTable[1023], -0.99609375f);

    torvaLib::Lfo other;
    int same = 0;
    for (int i = 0; i < 1024; ++i)
    {
        EXPECT_GE(lfo.randomTable[i], -1.0f);
        EXPECT_LT(lfo.randomTable[i], 1.0f);
        same += lfo.randomTable[i] == other.randomTable[i] ? 1 : 0;
    }
    EXPECT_LT(same, 8);
}

TEST(Lfo, IncrementDividesBeforeItMultiplies)
{
    torvaLib::Lfo lfo;
    setUp(lfo, 0, 4000.0f);
    EXPECT_EQ(lfo.increment, (1024.0f / 44100.0f) * 4000.0f);
    EXPECT_NEAR(lfo.increment, 92.88f, 0.01f);

    lfo.setFrequency(-3.0f);
    EXPECT_EQ(lfo.frequency, 0.0f);
    lfo.setSampleRate(0.0);
    lfo.setSampleRate(-1.0);
    lfo.setSampleRate(std::numeric_limits<double>::infinity());
    EXPECT_EQ(lfo.sampleRate, 44100.0);
    lfo.setWave(6);
    lfo.setWave(-1);
    EXPECT_EQ(lfo.wave, 0);
}

TEST(Lfo, StepReadsBeforeItAdvancesAndRestartReadsEntryZero)
{
    torvaLib::Lfo lfo;
    setUp(lfo, 2, 1000.0f);
    lfo.phase = 10.9f;
    EXPECT_EQ(lfo.step(), lfo.sawUpTable[10]);

    const int waves[] = {0, 1, 2, 3, 4};
    const float entryZero[] = {0.0f, 1.0f, -1.0f, 1.0f, -1.0f};
    for (int w = 0; w < 5; ++w)
    {
        lfo.setWave(waves[w]);
        lfo.step();
        lfo.restart();
        EXPECT_EQ(lfo.step(), entryZero[w]) << w;
    }

    lfo.setWave(5);
    lfo.restart();
    EXPECT_EQ(lfo.step(), lfo.randomTable[1]);

    // Frequency 0 freezes the output.
    setUp(lfo, 4, 0.0f);
    lfo.phase = 300.0f;
    EXPECT_EQ(lfo.step(), lfo.step());
}

TEST(Lfo, SampleAndHoldMovesOncePerCycle)
{
    torvaLib::Lfo lfo;
    setUp(lfo, 5, 441.0f); // 100 samples per cycle at 44.1 kHz
    lfo.restart();
    int changes = 0;
    float last = lfo.step();
    for (int i = 0; i < 1000; ++i)
    {
        const float v = lfo.step();
        changes += v != last ? 1 : 0;
        last = v;
    }
    EXPECT_GE(changes, 9);
    EXPECT_LE(changes, 11);
    EXPECT_EQ(lfo.randomIndex, changes + 1);
}

TEST(Lfo, PhaseNeverLeavesTheTable)
{
    torvaLib::Lfo lfo;
    setUp(lfo, 0, 100000.0f); // an increment beyond a whole table
    for (int i = 0; i < 1000; ++i)
    {
        lfo.step();
        ASSERT_LT(lfo.phase, 1024.0f + lfo.increment);
    }

    lfo.setFrequency(std::nanf(""));
    lfo.updateIncrement();
    lfo.step(); // the phase turns NaN here and restarts at 0 from the next step on
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(lfo.step(), lfo.sineTable[0]);

    lfo.setFrequency(1.0f);
    lfo.updateIncrement();
    lfo.phase = -std::numeric_limits<float>::infinity();
    EXPECT_EQ(lfo.step(), lfo.sineTable[0]);
    lfo.phase = 5000.5f;
    EXPECT_EQ(lfo.step(), lfo.sineTable[5000 - 4 * 1024]);
}
