#pragma once

#include "torva/torva_juce_numeric.h"

#include <cmath>
#include <limits>

namespace torvaLib
{

// Saturating state-variable filter, run in double precision with inner oversampling, whose low, band,
// high and notch responses the engine blends with one morph amount. One object per channel and filter
// module; the engine sets it up per block and runs process() and morph() once per sample.
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
    // Two independent filters, one sample each, with the same results as two process() calls; their
    // iterations are interleaved so that the two long dependency chains overlap.
    static void processPair(Svf& first, double firstX, Svf& second, double secondX);
    // Blend of the last sample's responses, in single precision: low at 0, band at 1/3, high at 2/3,
    // notch towards 1.
    float morph(float amount) const;

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
    // The evolving state of one sample's iterations.
    struct State
    {
        double band, saturatedBand, low, high;
    };
    void iterate(double x, State& state) const;
    State loadState() const;
    void storeState(const State& state);

    // The sine's argument of the current tuning: an unchanged argument gives the same tuning, so a
    // cutoff modulated every sample costs a sine only when its value moves.
    double tuningArgument = std::numeric_limits<double>::quiet_NaN();
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
// saturated in the iteration before. Sound depends on these exact steps and their order.
inline void Svf::iterate(double x, State& state) const
{
    double b = state.band;
    if (b > 1.0 || b < -1.0)
        b = b + (b * b * b) / (-6.0);

    const double d = state.saturatedBand;
    state.low = state.low + tuning * d;
    state.high = (x - state.low) - damping * (d / std::sqrt(d * d + 1.0));

    if (b < -3.0)
        state.saturatedBand = -1.0;
    else if (b > 3.0)
        state.saturatedBand = 1.0;
    else
        state.saturatedBand = b * (b * b + 27.0) / (9.0 * b * b + 27.0);

    state.band = d + tuning * state.high;
}

inline Svf::State Svf::loadState() const
{
    return {band, saturatedBand, low, 0.0};
}

inline void Svf::storeState(const State& state)
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

    State state = loadState();
    for (int n = 0; n < oversampling; ++n)
        iterate(x, state);
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

    State a = first.loadState();
    State b = second.loadState();
    for (int n = 0; n < first.oversampling; ++n)
    {
        first.iterate(firstX, a);
        second.iterate(secondX, b);
    }
    first.storeState(a);
    second.storeState(b);
}

inline float Svf::morph(float amount) const
{
    const float m = amount;
    if (m < 0.333333343f)
    {
        const float m3 = m * 3.0f;
        return (1.0f - m3) * denormalGuard((float)lowOutput) + m3 * denormalGuard((float)band);
    }
    if (m < 0.666666687f)
    {
        const float k = (m - 0.333333343f) * 3.0f;
        return (1.0f - k) * denormalGuard((float)band) + k * denormalGuard((float)high);
    }
    const float k = (m - 0.666666687f) * 3.0f;
    return (1.0f - k) * denormalGuard((float)high) + k * denormalGuard((float)notch);
}

} // namespace torvaLib
