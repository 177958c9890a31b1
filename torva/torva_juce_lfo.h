#pragma once

#include "torva/torva_juce_numeric.h"

#include <memory>

namespace torvaLib
{

// Low-frequency oscillator reading one of six pre-computed 1024-entry wave tables (sine, square, saw up,
// saw down, triangle, sample-and-hold over a random table). The processor holds four by value, shared by
// both channels: it sets each up once per block, steps it once per sample and restarts it on MIDI notes.
class Lfo
{
public:
    Lfo();
    Lfo(const Lfo&) = delete;
    Lfo& operator=(const Lfo&) = delete;

    // Ignored unless the rate is finite and above 0. The increment follows at the next updateIncrement.
    void setSampleRate(double rate);
    // Waves outside 0..5 are ignored.
    void setWave(int w);
    // Negative frequencies become 0.
    void setFrequency(float hz);
    void updateIncrement();
    // Advances one sample and returns the table value for this sample.
    float step();
    // The next step reads entry 0; sample-and-hold counts it as a wrap and moves to random entry 1.
    void restart();

    static constexpr int tableSize = 1024;

    double sampleRate = 44100.0;
    float frequency = 1.0f;
    int wave = 0;
    float phase = 0.0f;
    float increment = 0.0f;
    int previousIndex = 1023;
    int randomIndex = 0;
    std::unique_ptr<float[]> sineTable;
    std::unique_ptr<float[]> squareTable;
    std::unique_ptr<float[]> sawUpTable;
    std::unique_ptr<float[]> sawDownTable;
    std::unique_ptr<float[]> triangleTable;
    std::unique_ptr<float[]> randomTable;

private:
    // The six tables in wave order, and the current wave's, so that a step reads it without choosing.
    const float* tables[6] = {};
    const float* waveTable = nullptr;
    // tableSize / sampleRate in single precision, the first factor of the increment, worked out with the
    // rate.
    float incrementPerHz = (float)tableSize / (float)44100.0;
};

inline void Lfo::setWave(int w)
{
    if (w < 0 || w > 5)
        return;
    wave = w;
    waveTable = tables[w];
}

// A NaN is stored as it comes: the step restarts a phase that it has made non-finite.
inline void Lfo::setFrequency(float hz)
{
    frequency = hz < 0.0f ? 0.0f : hz;
}

inline void Lfo::updateIncrement()
{
    increment = incrementPerHz * frequency;
}

inline float Lfo::step()
{
    // A NaN frequency, or an increment of a whole table or more, must not lead the read outside the table.
    if (!(phase >= 0.0f && phase < (float)tableSize))
        phase = wrapIntoLength(phase, (float)tableSize);

    const int idx = (int)phase;
    phase = phase + increment;
    if (phase >= (float)tableSize)
        phase -= (float)tableSize;

    // Sample-and-hold moves to the next random entry each time the phase wraps.
    float output;
    if (wave == 5)
    {
        if (idx < previousIndex)
        {
            randomIndex = randomIndex + 1;
            if (randomIndex == tableSize)
                randomIndex = 0;
        }
        output = randomTable[randomIndex];
    }
    else
    {
        output = waveTable[idx];
    }

    previousIndex = idx;
    return output;
}

} // namespace torvaLib
