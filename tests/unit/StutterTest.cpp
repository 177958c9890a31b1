// Stutter buffer: loop sizes at common rates, capture and repeat timing, interpolation and wrapping, and
// that no read or write leaves the sample memory.
#include "torva/torva_juce_stutter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace
{

torvaLib::Stutter makeStutter(double rate)
{
    torvaLib::Stutter s;
    s.setBufferLength(88200);
    s.setSampleRate(rate);
    return s;
}

float run(torvaLib::Stutter& s, float in)
{
    return s.process(&in);
}

} // namespace

TEST(Stutter, LoopSizesFollowTheRoundingChain)
{
    struct Case
    {
        double rate;
        float ms;
        int expected;
    };
    const Case cases[] = {{44100.0, 1.0f, 44},     {44100.0, 150.0f, 6615}, {44100.0, 1000.0f, 44100},
                          {48000.0, 1.0f, 48},     {48000.0, 150.0f, 7200}, {48000.0, 1000.0f, 48000},
                          {48000.0, 145.0f, 6960}, {44100.0, 0.0f, 1},      {44100.0, 5000.0f, 88200}};
    for (const auto& c : cases)
    {
        auto s = makeStutter(c.rate);
        s.setSize(c.ms);
        EXPECT_EQ(s.size, c.expected) << c.rate << " Hz, " << c.ms << " ms";
    }
}

TEST(Stutter, SampleRateChangeKeepsTwoSecondsAndRewinds)
{
    torvaLib::Stutter s;
    EXPECT_EQ(s.bufferLength, 4410);
    s.setBufferLength(88200);
    EXPECT_EQ(s.bufferLength, 88200);

    s.setSize(10.0f);
    s.setRepeats(2);
    for (int i = 0; i < 500; ++i)
        run(s, 0.5f);
    ASSERT_TRUE(s.captured);

    s.setSampleRate(44100.0);
    EXPECT_EQ(s.bufferLength, 88200);
    EXPECT_NE(s.repeatCounter, 0);

    s.setSampleRate(48000.0);
    EXPECT_EQ(s.bufferLength, 96000);
    EXPECT_EQ(s.repeatCounter, 0);
    EXPECT_EQ(s.writeIndex, 0);
    EXPECT_EQ(s.readPosition, 0.0f);
    EXPECT_TRUE(s.captured);
    for (int i = 0; i < s.bufferLength; ++i)
        ASSERT_EQ(s.buffer[i], 0.0f);

    s.setSampleRate(96000.0);
    EXPECT_EQ(s.bufferLength, 192000);
    s.setSampleRate(44100.0);
    EXPECT_EQ(s.bufferLength, 88200);
}

TEST(Stutter, RejectedSettingsKeepThePreviousValues)
{
    auto s = makeStutter(44100.0);
    for (double rate : {0.0, -48000.0, std::nan(""), std::numeric_limits<double>::infinity()})
    {
        s.setSampleRate(rate);
        EXPECT_EQ(s.sampleRate, 44100.0);
        EXPECT_EQ(s.bufferLength, 88200);
    }
    s.setBufferLength(0);
    s.setBufferLength(-5);
    EXPECT_EQ(s.bufferLength, 88200);

    s.setSize(10.0f);
    s.setRepeats(3);
    s.setRepeats(0);
    s.setRepeats(-2);
    EXPECT_EQ(s.repeatPeriod, 1323.0f);
}

TEST(Stutter, CapturesThenRepeatsThenCapturesAgain)
{
    auto s = makeStutter(44100.0);
    s.setSize(150.0f);
    s.setRepeats(3);
    s.setRatio(1.0f);
    ASSERT_EQ(s.size, 6615);
    ASSERT_EQ(s.repeatPeriod, 19845.0f);

    // Calls 1..6615 record and pass the input through, then the loop plays twice.
    for (int call = 1; call <= 19845; ++call)
    {
        const float in = (float)call;
        const float out = run(s, in);
        const float expected = call <= 6615 ? in : (float)((call - 1) % 6615 + 1);
        ASSERT_EQ(out, expected) << "call " << call;
    }
    EXPECT_FALSE(s.captured);

    // Call 19846 records buffer[0] afresh while the read index is back at 0.
    EXPECT_EQ(run(s, -7.0f), -7.0f);
    EXPECT_EQ(s.buffer[0], -7.0f);
}

TEST(Stutter, InterpolatesAndWrapsAcrossTheLoopEnd)
{
    auto s = makeStutter(44100.0);
    s.setSize(1.0f); // 44 samples
    s.setRepeats(128);
    for (int i = 0; i < 44; ++i)
        run(s, (float)i + 1.0f);
    ASSERT_TRUE(s.captured);

    s.readPosition = 43.5f;
    s.setRatio(0.5f);
    EXPECT_EQ(run(s, 0.0f), (44.0f + 1.0f) * 0.5f);

    s.readPosition = 0.0f;
    s.setRatio(-1.0f);
    EXPECT_EQ(run(s, 0.0f), 1.0f);  // index 0
    EXPECT_EQ(run(s, 0.0f), 44.0f); // wrapped to size - 1
}

TEST(Stutter, ReadsStayInsideTheMemory)
{
    auto s = makeStutter(44100.0);
    s.setSize(1.0f);
    s.setRepeats(4);
    for (int i = 0; i < 44; ++i)
        run(s, 0.25f);

    // A NaN ratio restarts the read position at 0 instead of truncating a NaN into an index.
    s.setRatio(std::nanf(""));
    for (int i = 0; i < 10; ++i)
        EXPECT_TRUE(std::isfinite(run(s, 0.25f)));

    // An infinite position and one far outside the loop come back into it.
    s.setRatio(1.0f);
    s.readPosition = std::numeric_limits<float>::infinity();
    run(s, 0.25f);
    EXPECT_EQ(s.readPosition, 1.0f);
    s.readPosition = -1.0e7f;
    run(s, 0.25f);
    EXPECT_GE(s.readPosition, 0.0f);
    EXPECT_LE(s.readPosition, (float)s.size + 1.0f);

    // Below 2000 Hz a 1 ms loop is one sample and a ratio of 2 outruns the one-step wrap.
    auto slow = makeStutter(1000.0);
    slow.setSize(1.0f);
    slow.setRatio(2.0f);
    for (int i = 0; i < 10000; ++i)
    {
        run(slow, 1.0f);
        ASSERT_LT((double)slow.readPosition, (double)slow.bufferLength + 2.0);
    }
}

TEST(Stutter, ShorterMemoryNeverHoldsALongerLoop)
{
    auto s = makeStutter(44100.0);
    s.setSize(1000.0f);
    s.setSampleRate(8000.0);
    EXPECT_EQ(s.bufferLength, 16000);
    EXPECT_LE(s.size, s.bufferLength);
    for (int i = 0; i < 40000; ++i)
    {
        run(s, 1.0f);
        ASSERT_LT(s.writeIndex, s.bufferLength);
    }
}
