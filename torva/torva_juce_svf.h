#pragma once

#include "torva/torva_juce_lanes.h"
#include "torva/torva_juce_numeric.h"

#include <cmath>
#include <limits>

namespace torvaLib
{

// Saturating state-variable filter, run in double precision with inner oversampling, whose low, band,
// high and notch responses the engine blends with one morph amount. One object per channel and filter
// module; the engine sets it up per block and runs it once per sample, here or through SvfPair.
class Svf
{
public:
    // Stored only when 0 < hz < 20000; coefficients are not recomputed.
    void setCutoff(float hz);
    // Stored only when 0 <= r <= 2; coefficients are not recomputed.
    void setResonance(float r);
    void updateCoefficients();
    void setOversampling(int n);
    // Ignored unless rate > 0.
    void setSampleRate(double rate);
    void clear();
    void process(double x);
    // Two independent filters, one sample each, with the same results as two process() calls: the two
    // run as the lanes of one register.
    static void processPair(Svf& first, double firstX, Svf& second, double secondX);
    // Blend of the last sample's responses, in single precision: low at 0, band at 1/3, high at 2/3,
    // notch towards 1.
    float morph(float amount) const;
    static float morph(float amount, double low, double band, double high, double notch);

    double sampleRate = 44100.0;
    int oversampling = 4;
    double damping = 2.0;
    double tuning = 0.0;
    double cutoff = 0.0;
    double resonance = 0.0;
    double lowOutput = 0.0;
    double high = 0.0;
    double band = 0.0;
    double notch = 0.0;
    double saturatedBand = 0.0;
    double low = 0.0;

private:
    friend class SvfPair;

    // The evolving state of one sample's iterations, for one filter (double) or two side by side
    // (DoublePair).
    template <typename Lanes> struct State
    {
        Lanes band, saturatedBand, low, high;
    };
    template <typename Lanes>
    static void iterate(const Lanes& x, const Lanes& tuning, const Lanes& damping, State<Lanes>& state);
    State<double> loadState() const;
    void storeState(const State<double>& state);

    // The sine's argument of the current tuning: an unchanged argument gives the same tuning, so a
    // cutoff modulated every sample costs a sine only when its value moves.
    double tuningArgument = std::numeric_limits<double>::quiet_NaN();
};

// The two channels of one filter module as the two lanes of one register, for the length of a block:
// begin() takes the two filters' state, end() hands it back, and in between it stays in the lanes, so the
// long chain from one sample to the next never passes through memory. The filters keep their settings and
// coefficients, and every step reads them there. The results are those of process() on each filter.
class SvfPair
{
public:
    void begin(const Svf& first, const Svf& second);
    // Writes the state back, as process() would have left it, if any step ran.
    void end(Svf& first, Svf& second) const;
    // One sample of both lanes; the two filters must have the same oversampling.
    void process(const Svf& first, const Svf& second, double firstX, double secondX);
    // One sample of two modules' pairs at once, their iterations interleaved so that the two registers'
    // long chains overlap. All four filters must have the same oversampling.
    static void processTwo(SvfPair& a, const Svf& a0, const Svf& a1, double xA0, double xA1, SvfPair& b,
                           const Svf& b0, const Svf& b1, double xB0, double xB1);
    // Svf::morph of one lane's last responses.
    float morph(int lane, float amount) const;

private:
    Svf::State<double> laneState(int lane) const
    {
        return {state.band[lane], state.saturatedBand[lane], state.low[lane], state.high[lane]};
    }
    // After each step: a lane whose state is no finite number any more starts afresh, as
    // Svf::storeState does.
    void finishStep();

    Svf::State<DoublePair> state{DoublePair(0.0), DoublePair(0.0), DoublePair(0.0), DoublePair(0.0)};
    bool ran = false;
};

inline void Svf::setCutoff(float hz)
{
    if (hz > 0.0f && hz < 20000.0f)
        cutoff = hz;
}

inline void Svf::setResonance(float r)
{
    if (r >= 0.0f && r <= 2.0f)
        resonance = r;
}

inline void Svf::updateCoefficients()
{
    damping = 2.0 - resonance;
    const double argument = (cutoff * 3.141592653589793) / ((double)oversampling * sampleRate);
    if (argument != tuningArgument)
    {
        tuningArgument = argument;
        tuning = 2.0 * std::sin(argument);
    }
}

// The band path is saturated with a lag of one iteration: the integrators and the damping use the value
// saturated in the iteration before. Sound depends on these exact steps and their order. Both branches of
// the saturation are worked out and one is chosen per lane; the cubic, which is rarely needed, only when a
// lane needs it.
template <typename Lanes>
inline void Svf::iterate(const Lanes& x, const Lanes& tuning, const Lanes& damping, State<Lanes>& state)
{
    Lanes b = state.band;
    const auto large = (b > Lanes(1.0)) | (b < Lanes(-1.0));
    if (any(large))
        b = select(large, b + (b * b * b) / Lanes(-6.0), b);

    const Lanes d = state.saturatedBand;
    state.low = state.low + tuning * d;
    state.high = (x - state.low) - damping * (d / sqrt(d * d + Lanes(1.0)));

    const Lanes soft = b * (b * b + Lanes(27.0)) / (Lanes(9.0) * b * b + Lanes(27.0));
    state.saturatedBand = select(b < Lanes(-3.0), Lanes(-1.0), select(b > Lanes(3.0), Lanes(1.0), soft));

    state.band = d + tuning * state.high;
}

inline Svf::State<double> Svf::loadState() const
{
    return {band, saturatedBand, low, 0.0};
}

inline void Svf::storeState(const State<double>& state)
{
    // A state that is no finite number any more (a non-finite or overflowing value reached the filter)
    // would stay so for good and silence the module for the rest of the session: it starts afresh.
    if (!(std::isfinite(state.low) && std::isfinite(state.band) && std::isfinite(state.high)))
    {
        clear();
        return;
    }

    low = state.low;
    lowOutput = state.low;
    band = state.band;
    saturatedBand = state.saturatedBand;
    high = state.high;
    notch = state.low + state.high;
}

inline void Svf::process(double x)
{
    if (oversampling <= 0)
        return;

    State<double> state = loadState();
    for (int n = 0; n < oversampling; ++n)
        iterate(x, tuning, damping, state);
    storeState(state);
}

inline void Svf::processPair(Svf& first, double firstX, Svf& second, double secondX)
{
    if (first.oversampling != second.oversampling || first.oversampling <= 0)
    {
        first.process(firstX);
        second.process(secondX);
        return;
    }

    SvfPair lanes;
    lanes.begin(first, second);
    lanes.process(first, second, firstX, secondX);
    lanes.end(first, second);
}

inline float Svf::morph(float amount) const
{
    return morph(amount, lowOutput, band, high, notch);
}

inline float Svf::morph(float amount, double low, double band, double high, double notch)
{
    const float m = amount;
    if (m < 0.333333343f)
    {
        const float m3 = m * 3.0f;
        return (1.0f - m3) * denormalGuard((float)low) + m3 * denormalGuard((float)band);
    }
    if (m < 0.666666687f)
    {
        const float k = (m - 0.333333343f) * 3.0f;
        return (1.0f - k) * denormalGuard((float)band) + k * denormalGuard((float)high);
    }
    const float k = (m - 0.666666687f) * 3.0f;
    return (1.0f - k) * denormalGuard((float)high) + k * denormalGuard((float)notch);
}

inline void SvfPair::begin(const Svf& first, const Svf& second)
{
    state = {{first.band, second.band},
             {first.saturatedBand, second.saturatedBand},
             {first.low, second.low},
             {first.high, second.high}};
    ran = false;
}

inline void SvfPair::end(Svf& first, Svf& second) const
{
    if (!ran)
        return;
    first.storeState(laneState(0));
    second.storeState(laneState(1));
}

inline void SvfPair::finishStep()
{
    ran = true;
    // x - x is 0 for every finite x and NaN otherwise.
    const DoublePair zero(0.0);
    const PairMask finite =
        (state.low - state.low) + (state.band - state.band) + (state.high - state.high) == zero;
    if (all(finite))
        return;
    state.band = select(finite, state.band, zero);
    state.saturatedBand = select(finite, state.saturatedBand, zero);
    state.low = select(finite, state.low, zero);
    state.high = select(finite, state.high, zero);
}

inline void SvfPair::process(const Svf& first, const Svf& second, double firstX, double secondX)
{
    const DoublePair x(firstX, secondX), tuning(first.tuning, second.tuning),
        damping(first.damping, second.damping);
    for (int n = 0; n < first.oversampling; ++n)
        Svf::iterate(x, tuning, damping, state);
    finishStep();
}

inline void SvfPair::processTwo(SvfPair& a, const Svf& a0, const Svf& a1, double xA0, double xA1, SvfPair& b,
                                const Svf& b0, const Svf& b1, double xB0, double xB1)
{
    const DoublePair xA(xA0, xA1), tuningA(a0.tuning, a1.tuning), dampingA(a0.damping, a1.damping);
    const DoublePair xB(xB0, xB1), tuningB(b0.tuning, b1.tuning), dampingB(b0.damping, b1.damping);
    for (int n = 0; n < a0.oversampling; ++n)
    {
        Svf::iterate(xA, tuningA, dampingA, a.state);
        Svf::iterate(xB, tuningB, dampingB, b.state);
    }
    a.finishStep();
    b.finishStep();
}

inline float SvfPair::morph(int lane, float amount) const
{
    const Svf::State<double> last = laneState(lane);
    return Svf::morph(amount, last.low, last.band, last.high, last.low + last.high);
}

} // namespace torvaLib
