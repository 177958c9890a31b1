#include "torva/torva_juce_lfo.h"

#include <juce_core/juce_core.h>

#include <cmath>

namespace torvaLib
{

Lfo::Lfo()
    : sineTable(new float[1024]()), squareTable(new float[1024]()), sawUpTable(new float[1024]()),
      sawDownTable(new float[1024]()), triangleTable(new float[1024]()), randomTable(new float[1024]())
{
    juce::Random random;
    random.setSeedRandomly();

    // All six entries of an index are computed before the next index, so the random table holds
    // consecutive draws of the generator.
    for (int i = 0; i < tableSize; ++i)
    {
        const float x = (float)i;
        sineTable[i] = std::sin(x * 0.0061359233f);
        squareTable[i] = i < 512 ? 1.0f : -1.0f;

        const float u = x / (float)tableSize;
        sawUpTable[i] = (u + u) - 1.0f;
        const float d = 1.0f - u;
        sawDownTable[i] = (d + d) - 1.0f;

        const float t = x * 0.001953125f;
        triangleTable[i] = i < 512 ? (t + t) - 1.0f : ((1.0f - t) + (1.0f - t)) + 1.0f;

        const float r = random.nextFloat();
        randomTable[i] = (r + r) - 1.0f;
    }
}

void Lfo::setSampleRate(double rate)
{
    if (rate > 0.0 && std::isfinite(rate))
        sampleRate = rate;
}

void Lfo::setWave(int w)
{
    if (w >= 0 && w <= 5)
        wave = w;
}

// A NaN is stored as it comes: the step restarts a phase that it has made non-finite.
void Lfo::setFrequency(float hz)
{
    frequency = hz < 0.0f ? 0.0f : hz;
}

void Lfo::updateIncrement()
{
    increment = ((float)tableSize / (float)sampleRate) * frequency;
}

float Lfo::step()
{
    if (!(phase >= 0.0f && phase < (float)tableSize))
        bringPhaseIntoTable();

    const int idx = (int)phase;
    phase = phase + increment;
    if (phase >= (float)tableSize)
        phase -= (float)tableSize;

    float output;
    switch (wave)
    {
    case 1:
        output = squareTable[idx];
        break;
    case 2:
        output = sawUpTable[idx];
        break;
    case 3:
        output = sawDownTable[idx];
        break;
    case 4:
        output = triangleTable[idx];
        break;
    case 5:
        if (idx < previousIndex)
        {
            randomIndex = randomIndex + 1;
            if (randomIndex == tableSize)
                randomIndex = 0;
        }
        output = randomTable[randomIndex];
        break;
    default:
        output = sineTable[idx];
        break;
    }

    previousIndex = idx;
    return output;
}

void Lfo::restart()
{
    phase = 0.0f;
    randomIndex = 0;
    previousIndex = tableSize - 1;
}

// Reached only when one subtraction per step could not keep up (an increment of a whole table or more)
// or the phase is not finite: a non-finite phase restarts at 0, a finite one is wrapped by whole table
// lengths.
void Lfo::bringPhaseIntoTable()
{
    if (!std::isfinite(phase))
    {
        phase = 0.0f;
        return;
    }

    const float length = (float)tableSize;
    phase -= std::floor(phase / length) * length;
    if (!(phase >= 0.0f && phase < length))
        phase = 0.0f;
}

} // namespace torvaLib
