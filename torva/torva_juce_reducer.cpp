#include "torva/torva_juce_reducer.h"

#include <cmath>

namespace torvaLib
{

void Bitcrusher::setBits(int n)
{
    bits = n >= 1 ? n : 1;
}

// The output sits at the centre of the half step that holds x; an exact multiple of 1/bits goes to the
// centre of the half step below it.
float Bitcrusher::process(float x) const
{
    if (bits > 15)
        return x;

    const float levels = (float)bits;
    const float y = x * levels;
    const float upper = std::ceil(y) / levels;
    const float lower = (std::floor(y + 0.5f) - 0.5f) / levels;
    return (upper + lower) * 0.5f;
}

void Reducer::setRate(int rate)
{
    if (rate > 0)
        hold = rate - 1;
}

float Reducer::process(float x)
{
    if (hold == 0)
        return x;

    float result;
    if (holdCounter != 0)
    {
        result = held;
    }
    else
    {
        held = x;
        result = x;
    }
    holdCounter = holdCounter >= hold ? 0 : holdCounter + 1;
    return result;
}

} // namespace torvaLib
