#include "torva/torva_juce_parameters.h"

#include <cmath>

namespace torvaLib
{

void PluginParameter::init(float minimum, float maximum, float defaultPlain, bool integer,
                           const juce::String& identifier, const juce::String& unitLabel, bool skewed,
                           bool skewedSquared)
{
    min = minimum;
    max = maximum;
    name = identifier;
    label = unitLabel;
    isInt = integer;
    skew = skewed;
    skewSquared = skewedSquared;

    if (min <= defaultPlain && defaultPlain <= max)
    {
        const float x = (defaultPlain - min) / (max - min);
        if (!skew)
            defaultNormalised = x;
        else if (!skewSquared)
            defaultNormalised = std::sqrt(x);
        else
            defaultNormalised = x * x;
    }

    value.exchange(defaultNormalised);
    hostValue = value.load();
    plainValue = plainFromNormalised(hostValue);
}

void PluginParameter::setNormalised(float newValue) noexcept
{
    if (!(0.0f <= newValue && newValue <= 1.0f))
        return;

    value.exchange(newValue);
    hostValue = value.load();
    plainValue = plainFromNormalised(hostValue);
}

float PluginParameter::plainFromNormalised(float n) const noexcept
{
    // Written as (max - min) * t + min in single precision: stored patches depend on these exact bits.
    float t = n;
    if (skew)
        t = skewSquared ? std::sqrt(n) : n * n;
    return (max - min) * t + min;
}

} // namespace torvaLib
