#include "torva/torva_juce_svf.h"

#include "torva/torva_juce_numeric.h"

#include <cmath>

namespace torvaLib
{

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

} // namespace torvaLib
