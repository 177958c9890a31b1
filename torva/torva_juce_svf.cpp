#include "torva/torva_juce_svf.h"

#include "torva/torva_juce_numeric.h"

#include <cmath>

namespace torvaLib
{

void Svf::setCutoff(float hz)
{
    if (hz > 0.0f && hz < 20000.0f)
        cutoff = hz;
}

void Svf::setResonance(float r)
{
    if (r >= 0.0f && r <= 2.0f)
        resonance = r;
}

void Svf::updateCoefficients()
{
    damping = 2.0 - resonance;
    tuning = 2.0 * std::sin((cutoff * 3.141592653589793) / ((double)oversampling * sampleRate));
}

void Svf::setOversampling(int n)
{
    oversampling = n;
    updateCoefficients();
}

void Svf::setSampleRate(double rate)
{
    if (rate > 0.0)
    {
        sampleRate = rate;
        updateCoefficients();
    }
}

void Svf::clear()
{
    lowOutput = 0.0;
    high = 0.0;
    band = 0.0;
    notch = 0.0;
    saturatedBand = 0.0;
    low = 0.0;
}

// The band path is saturated with a lag of one iteration: the integrators and the damping use the value
// saturated in the iteration before. Sound depends on these exact steps and their order.
void Svf::process(double x)
{
    if (oversampling <= 0)
        return;

    const double t = tuning;
    double bandState = band;
    double saturated = saturatedBand;
    double lowState = low;
    double highState = 0.0;

    for (int n = 0; n < oversampling; ++n)
    {
        double b = bandState;
        if (b > 1.0 || b < -1.0)
            b = b + (b * b * b) / (-6.0);

        const double d = saturated;
        lowState = lowState + t * d;
        highState = (x - lowState) - damping * (d / std::sqrt(d * d + 1.0));

        if (b < -3.0)
            saturated = -1.0;
        else if (b > 3.0)
            saturated = 1.0;
        else
            saturated = b * (b * b + 27.0) / (9.0 * b * b + 27.0);

        bandState = d + t * highState;
    }

    low = lowState;
    lowOutput = lowState;
    band = bandState;
    saturatedBand = saturated;
    high = highState;
    notch = lowState + highState;
}

float Svf::morph(float amount) const
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
