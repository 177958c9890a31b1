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

// Outside [-1, 1] the band goes through the cubic b - b^3/6 up to sqrt(6); beyond, where the cubic would
// turn its sign and the filter run away, it takes the cubic's peak with its own sign.
TEST(Svf, LargeBandSaturatesWithoutTurningItsSign)
{
    auto saturate = [](double band)
    {
        torvaLib::Svf f;
        f.setOversampling(1);
        f.band = band;
        f.process(0.0);
        return f.saturatedBand;
    };
    auto curve = [](double b) { return b * (b * b + 27.0) / (9.0 * b * b + 27.0); };

    EXPECT_EQ(saturate(0.5), curve(0.5)); // inside [-1, 1]: no soft clip
    EXPECT_EQ(saturate(2.0), curve(2.0 + (2.0 * 2.0 * 2.0) / -6.0));
    EXPECT_EQ(saturate(-2.4), curve(-2.4 + (-2.4 * -2.4 * -2.4) / -6.0));
    const double peak = 2.0 * std::sqrt(2.0) / 3.0;
    for (double band : {2.45, 3.5, 1.0e30})
    {
        EXPECT_NEAR(saturate(band), curve(peak), 1e-15) << band;
        EXPECT_NEAR(saturate(-band), -curve(peak), 1e-15) << band;
    }
}

// At low rates the top of the cutoff's range would pass the edge of the filter's stable range,
// 2 * damping / (damping^2 + 1): the tuning stops at nine tenths of it. At 44.1 kHz it is the sine's.
TEST(Svf, TuningStaysWithinTheStableRange)
{
    for (float resonance : {0.0f, 0.7f, 1.4f})
    {
        auto f = makeFilter(11000.0f, resonance);
        f.setSampleRate(8000.0);
        EXPECT_EQ(f.tuning, 0.9 * 2.0 * f.damping / (f.damping * f.damping + 1.0)) << resonance;
        f.setSampleRate(44100.0);
        EXPECT_EQ(f.tuning, 2.0 * std::sin(11000.0 * 3.141592653589793 / (3.0 * 44100.0))) << resonance;
    }

    // The bound follows the damping when only the resonance moves.
    auto f = makeFilter(11000.0f, 0.0f);
    f.setSampleRate(16000.0);
    const double loose = f.tuning;
    f.setResonance(1.4f);
    f.updateCoefficients();
    EXPECT_GT(f.tuning, loose);
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
    for (double poison : {std::nan(""), HUGE_VAL, -HUGE_VAL, 3.4e38})
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
