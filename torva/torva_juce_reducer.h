#pragma once

#include <cmath>

namespace torvaLib
{

// Quantiser of a crusher module: "bits" is a count of levels per unit of amplitude, not a power of two;
// above 15 the quantiser is off. One object per channel and crusher module.
class Bitcrusher
{
public:
    // Values below 1 are taken as 1.
    void setBits(int n);
    // Whether process() gives back its input unchanged.
    bool isOff() const { return bits > 15; }
    float process(float x) const;

    int bits = 16;
};

// Sample-and-hold of a crusher module: each taken value is repeated for "hold" further samples; a hold
// of 0 switches it off. One object per channel and crusher module.
class Reducer
{
public:
    // Rates below 1 are ignored.
    void setRate(int rate);
    // The next sample takes a fresh value.
    void restartHold() { holdCounter = 0; }
    // Whether process() gives back its input unchanged, touching nothing.
    bool isOff() const { return hold == 0; }
    float process(float x);
    // process() of the value that fresh() gives, called only for a sample that takes a fresh value: the
    // samples of a hold never need it.
    template <typename Fresh> float processFresh(Fresh&& fresh);

    int hold = 0;
    float held = 0.0f;
    int holdCounter = 0;
};

inline void Bitcrusher::setBits(int n)
{
    bits = n >= 1 ? n : 1;
}

inline void Reducer::setRate(int rate)
{
    if (rate > 0)
        hold = rate - 1;
}

// The output sits at the centre of the half step that holds x; an exact multiple of 1/bits goes to the
// centre of the half step below it.
inline float Bitcrusher::process(float x) const
{
    if (isOff())
        return x;

    const float levels = (float)bits;
    const float y = x * levels;
    const float upper = std::ceil(y) / levels;
    const float lower = (std::floor(y + 0.5f) - 0.5f) / levels;
    return (upper + lower) * 0.5f;
}

template <typename Fresh> inline float Reducer::processFresh(Fresh&& fresh)
{
    if (isOff())
        return fresh();

    float result;
    if (holdCounter != 0)
    {
        result = held;
    }
    else
    {
        held = fresh();
        result = held;
    }
    holdCounter = holdCounter >= hold ? 0 : holdCounter + 1;
    return result;
}

inline float Reducer::process(float x)
{
    return processFresh([x] { return x; });
}

} // namespace torvaLib
