#pragma once

namespace torvaLib
{

// Quantiser of a crusher module: "bits" is a count of levels per unit of amplitude, not a power of two;
// above 15 the quantiser is off. One object per channel and crusher module.
class Bitcrusher
{
public:
    // Values below 1 are taken as 1.
    void setBits(int n);
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
    float process(float x);

    int hold = 0;
    float held = 0.0f;
    int holdCounter = 0;
};

} // namespace torvaLib
