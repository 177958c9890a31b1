// Bit crusher and rate reducer: the quantiser's values and the hold counter's timing.
#include "torva/torva_juce_reducer.h"

#include <gtest/gtest.h>

TEST(Bitcrusher, QuantisesToHalfStepCentres)
{
    torvaLib::Bitcrusher b;
    b.setBits(1);
    const float in1[] = {0.3f, 0.6f, 1.0f, -0.3f, -0.6f, -1.0f, 0.0f};
    const float out1[] = {0.25f, 0.75f, 0.75f, -0.25f, -0.75f, -1.25f, -0.25f};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(b.process(in1[i]), out1[i]) << in1[i];

    b.setBits(4);
    EXPECT_EQ(b.process(0.3f), 0.3125f);
    EXPECT_EQ(b.process(0.5f), 0.4375f);

    b.setBits(15);
    EXPECT_NEAR(b.process(0.04f) - b.process(0.02f), 1.0f / 30.0f, 1e-7f);

    b.setBits(16);
    EXPECT_EQ(b.process(0.123f), 0.123f);
}

TEST(Bitcrusher, BitsBelowOneBecomeOne)
{
    torvaLib::Bitcrusher b;
    b.setBits(0);
    EXPECT_EQ(b.bits, 1);
    b.setBits(-7);
    EXPECT_EQ(b.bits, 1);
}

TEST(Reducer, HoldsEachValueForRateSamples)
{
    torvaLib::Reducer r;
    EXPECT_EQ(r.process(0.7f), 0.7f); // off by default

    r.setRate(4);
    const float expected[] = {1, 1, 1, 1, 5, 5, 5, 5, 9};
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(r.process((float)(i + 1)), expected[i]) << i;

    r.restartHold();
    EXPECT_EQ(r.process(42.0f), 42.0f);

    r.setRate(0);
    EXPECT_EQ(r.hold, 3);
}

TEST(Reducer, ShortenedOrSuspendedHoldsResumeWhereTheyStood)
{
    torvaLib::Reducer r;
    r.setRate(11);
    for (int i = 0; i < 8; ++i)
        r.process(1.0f); // counter stands at 8
    r.setRate(4);
    EXPECT_EQ(r.process(2.0f), 1.0f); // still held, counter resets
    EXPECT_EQ(r.process(3.0f), 3.0f); // fresh value

    r.setRate(4);
    r.process(4.0f); // counter 2
    r.setRate(1);
    EXPECT_EQ(r.process(5.0f), 5.0f);
    r.setRate(4);
    EXPECT_EQ(r.process(6.0f), 3.0f); // old held value reappears for the rest of that hold
}
