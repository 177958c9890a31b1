#include "torva/torva_juce_lfo.h"

#include <juce_core/juce_core.h>

#include <algorithm>
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
    const float* const waves[6] = {sineTable.get(),    squareTable.get(),   sawUpTable.get(),
                                   sawDownTable.get(), triangleTable.get(), randomTable.get()};
    std::copy(waves, waves + 6, tables);
    setWave(wave);
}

void Lfo::setSampleRate(double rate)
{
    if (rate > 0.0 && std::isfinite(rate))
    {
        sampleRate = rate;
        incrementPerHz = (float)tableSize / (float)sampleRate;
    }
}

void Lfo::restart()
{
    phase = 0.0f;
    randomIndex = 0;
    previousIndex = tableSize - 1;
}

} // namespace torvaLib
