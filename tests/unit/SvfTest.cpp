// State-variable filter: coefficient values, the guarded setters, the iteration order of one sample
// (bit for bit) and the single-precision morph between the four responses.
#include "torva/torva_juce_svf.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace
{

uint32_t bitsOf(float f)
{
    uint32_t u;
    std::memcpy(&u, &f, sizeof u);
    return u;
}

torvaLib::Svf makeFilter(float cutoff, float resonance)
{
    torvaLib::Svf f;
    f.setOversampling(3);
    f.setCutoff(cutoff);
    f.setResonance(resonance);
    f.updateCoefficients();
    return f;
}

} // namespace

TEST(Svf, CoefficientsAt44100WithThreeIterations)
{
    EXPECT_NEAR(makeFilter(11000.0f, 0.0f).tuning, 0.51649, 1e-5);
    EXPECT_NEAR(makeFilter(1000.0f, 0.0f).tuning, 0.047487, 1e-6);
    EXPECT_NEAR(makeFilter(20.0f, 0.0f).tuning, 0.00094984, 1e-8);
    EXPECT_EQ(makeFilter(1000.0f, 0.0f).damping, 2.0);
    EXPECT_EQ(makeFilter(1000.0f, 1.0f * 1.4f).damping, 2.0 - (double)1.4f);

    auto f = makeFilter(1000.0f, 0.0f);
    const double before = f.tuning;
    f.setSampleRate(88200.0);
    EXPECT_NEAR(f.tuning, 2.0 * std::sin(1000.0 * 3.141592653589793 / (3.0 * 88200.0)), 0.0);
    EXPECT_LT(f.tuning, before);
}

TEST(Svf, SettersRejectValuesOutsideTheirRange)
{
    auto f = makeFilter(1000.0f, 0.5f);
    for (float hz : {0.0f, -5.0f, 20000.0f, 25000.0f, std::nanf("")})
        f.setCutoff(hz);
    EXPECT_EQ(f.cutoff, 1000.0);
    f.setCutoff(19999.0f);
    EXPECT_EQ(f.cutoff, 19999.0);

    for (float r : {-0.1f, 2.1f, std::nanf("")})
        f.setResonance(r);
    EXPECT_EQ(f.resonance, 0.5);
    f.setResonance(2.0f);
    EXPECT_EQ(f.resonance, 2.0);

    const double tuning = f.tuning;
    f.setSampleRate(0.0);
    f.setSampleRate(-44100.0);
    f.setSampleRate(std::nan(""));
    EXPECT_EQ(f.sampleRate, 44100.0);
    EXPECT_EQ(f.tuning, tuning);
}

// The saturated band feeds the integrators one iteration late; a unit step shows that ordering.
TEST(Svf, FirstSampleFollowsTheIterationOrder)
{
    auto f = makeFilter(5000.0f, 0.7f);
    const double t = f.tuning;
    const double delta = f.damping;
    f.process(1.0);

    // Iterations 1 and 2 see a saturated band of 0; iteration 3 sees the curve of band t.
    const double d = t * (t * t + 27.0) / (9.0 * t * t + 27.0);
    const double low = 0.0 + t * d;
    const double high = (1.0 - low) - delta * (d / std::sqrt(d * d + 1.0));
    EXPECT_EQ(f.low, low);
    EXPECT_EQ(f.lowOutput, low);
    EXPECT_EQ(f.high, high);
    EXPECT_EQ(f.band, d + t * high);
    EXPECT_EQ(f.saturatedBand, d);
    EXPECT_EQ(f.notch, low + high);
}

TEST(Svf, LargeBandFlipsThroughTheSoftClip)
{
    torvaLib::Svf f;
    f.setOversampling(1);
    f.band = 3.5; // 3.5 - 3.5^3/6 lies below -3
    f.process(0.0);
    EXPECT_EQ(f.saturatedBand, -1.0);

    f.band = -3.5;
    f.process(0.0);
    EXPECT_EQ(f.saturatedBand, 1.0);

    f.band = 0.5; // inside [-1, 1]: no soft clip
    f.saturatedBand = 0.0;
    f.process(0.0);
    EXPECT_EQ(f.saturatedBand, 0.5 * (0.25 + 27.0) / (9.0 * 0.5 * 0.5 + 27.0));
}

TEST(Svf, NoIterationsLeaveTheStateAlone)
{
    auto f = makeFilter(1000.0f, 0.0f);
    f.process(1.0);
    const double low = f.low, band = f.band, high = f.high;
    f.setOversampling(0);
    f.process(1.0);
    EXPECT_EQ(f.low, low);
    EXPECT_EQ(f.band, band);
    EXPECT_EQ(f.high, high);

    f.clear();
    EXPECT_EQ(f.low + f.band + f.high + f.notch + f.saturatedBand + f.lowOutput, 0.0);
}

TEST(Svf, ANonFiniteValueClearsTheStateInsteadOfStayingInIt)
{
    for (double poison : {std::nan(""), HUGE_VAL, -HUGE_VAL})
    {
        auto f = makeFilter(11000.0f, 0.5f * 1.4f);
        f.process(0.5);
        f.process(poison);
        EXPECT_EQ(f.low, 0.0) << poison;
        EXPECT_EQ(f.band, 0.0) << poison;
        EXPECT_EQ(f.high, 0.0) << poison;
        EXPECT_EQ(f.notch, 0.0) << poison;

        // It filters again from the next sample on, exactly as a cleared filter does.
        auto fresh = makeFilter(11000.0f, 0.5f * 1.4f);
        f.process(0.25);
        fresh.process(0.25);
        EXPECT_EQ(f.low, fresh.low) << poison;
        EXPECT_EQ(f.band, fresh.band) << poison;

        torvaLib::Svf::processPair(f, poison, fresh, 0.25);
        EXPECT_EQ(f.band, 0.0) << poison;
        EXPECT_TRUE(std::isfinite(fresh.band));
    }
}

TEST(Svf, MorphBlendsInSinglePrecision)
{
    torvaLib::Svf f;
    f.lowOutput = 0.5;
    f.band = 0.25;
    f.high = -0.75;
    f.notch = 0.2;

    EXPECT_EQ(f.morph(0.0f), 0.5f);
    EXPECT_EQ(f.morph(0.333333343f), 0.25f);
    EXPECT_EQ(f.morph(0.666666687f), -0.75f);

    // Morph 1: notch plus 5.96e-8 of the high-pass response, both through the guard.
    const float k = (1.0f - 0.666666687f) * 3.0f;
    EXPECT_EQ(bitsOf(k), bitsOf(0.99999994f));
    EXPECT_EQ(bitsOf(f.morph(1.0f)), bitsOf((1.0f - k) * -0.75f + k * 0.20000001788139343f));

    // Morph 0.5 weighs band by 0.5 and high by 0.49999997.
    EXPECT_EQ(bitsOf(f.morph(0.5f)), bitsOf(0.5f * 0.25f + 0.49999997f * -0.75f));

    // A NaN amount takes the last branch.
    EXPECT_TRUE(std::isnan(f.morph(std::nanf(""))));

    // Responses below 2^-28 reach the blend as exactly 0.
    f.lowOutput = 3.0e-9;
    EXPECT_EQ(bitsOf(f.morph(0.0f)), bitsOf(0.0f));
}
