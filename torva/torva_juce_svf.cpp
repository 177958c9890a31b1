#include "torva/torva_juce_svf.h"

#include "torva/torva_juce_numeric.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace torvaLib
{

// 2 sin(argument), from the cutoff, the oversampling and the rate. At low rates the top of the cutoff's range
// lies past the edge of the filter's stable range, where it would ring on without end, so the tuning stops
// short of that edge. Below the saturation the filter is stable while tuning < 2 * damping / (damping^2 + 1):
// 0.8 at the damping of resonance 0, 0.88 at that of full resonance; the tuning keeps a tenth of that range
// as a margin. A tuning of 0.7 or less is within it for every damping from 0.5 up, well past the resonance
// control's range, and needs no test. Near the edge the bound moves with the damping, which changes without
// the cutoff, so the tuning is worked out afresh on every update there.
void Svf::updateTuning()
{
    tunedCutoff = cutoff;
    const double argument = (cutoff * 3.141592653589793) / ((double)oversampling * sampleRate);
    if (argument == tuningArgument)
        return;
    tuningArgument = argument;
    tuning = 2.0 * std::sin(argument);
    if (tuning > 0.7)
    {
        constexpr double margin = 0.9;
        tuning = std::min(tuning, margin * 2.0 * damping / (damping * damping + 1.0));
        tunedCutoff = std::numeric_limits<double>::quiet_NaN();
        tuningArgument = std::numeric_limits<double>::quiet_NaN();
    }
}

void Svf::setOversampling(int n)
{
    oversampling = n;
    tunedCutoff = std::numeric_limits<double>::quiet_NaN();
    updateCoefficients();
}

void Svf::setSampleRate(double rate)
{
    if (rate > 0.0)
    {
        sampleRate = rate;
        tunedCutoff = std::numeric_limits<double>::quiet_NaN();
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

} // namespace torvaLib
