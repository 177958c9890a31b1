#include "torva/torva_juce_svf.h"

#include "torva/torva_juce_numeric.h"

#include <cmath>
#include <limits>

namespace torvaLib
{

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
