#pragma once

#include "plugin/ParameterTable.h"

// The engine's fixed layout: source indices, where each module's controls sit in the parameter table,
// the latest value of every source and the per-block parameter snapshot.

namespace engine
{

using namespace ParameterTable;

// Two channels: the only bus layout accepted is stereo in, stereo out.
constexpr int numChannels = 2;
constexpr int numLfos = 4;
constexpr int numMixers = 4;
constexpr int numMultipliers = 2;

// Parameter indices of the module controls; module n counts from 0.
constexpr int bufferSizeParam(int n)
{
    return 0 + 3 * n;
}
constexpr int bufferRepeatsParam(int n)
{
    return 1 + 3 * n;
}
constexpr int bufferRatioParam(int n)
{
    return 2 + 3 * n;
}
constexpr int filterMorphParam(int n)
{
    return 6 + 3 * n;
}
constexpr int filterCutoffParam(int n)
{
    return 7 + 3 * n;
}
constexpr int filterResonanceParam(int n)
{
    return 8 + 3 * n;
}
constexpr int crusherBitsParam(int n)
{
    return 12 + 3 * n;
}
constexpr int crusherRateParam(int n)
{
    return 13 + 3 * n;
}
constexpr int crusherMixParam(int n)
{
    return 14 + 3 * n;
}
constexpr int dryWetParam = 18;
constexpr int globalGainParam = 19;
constexpr int lfoWaveParam(int n)
{
    return lfoBase(n);
}
constexpr int lfoRateParam(int n)
{
    return lfoBase(n) + 1;
}
constexpr int lfoRateMultiplyParam(int n)
{
    return lfoBase(n) + 2;
}
constexpr int lfoSyncParam(int n)
{
    return lfoBase(n) + 3;
}
constexpr int lfoSyncedRateParam(int n)
{
    return lfoBase(n) + 4;
}
constexpr int mixerSourceAParam(int n)
{
    return 40 + 3 * n;
}
constexpr int mixerSourceBParam(int n)
{
    return 41 + 3 * n;
}
constexpr int mixerMixParam(int n)
{
    return 42 + 3 * n;
}
constexpr int multiplierSourceAParam(int n)
{
    return 52 + 2 * n;
}
constexpr int multiplierSourceBParam(int n)
{
    return 53 + 2 * n;
}

// Routing inputs, each a source selector (inputSourceIndex) and an input level (inputLevelIndex).
enum RoutingInput : int
{
    inBuffer1,
    inBuffer2,
    inFilter1,
    inFilter2,
    inCrusher1,
    inCrusher2,
    inDryWet
};

// The latest value of every source for each channel, value[source][channel]: a source's two channels sit
// side by side, so the engine moves both in one. Entry 0 (NONE) stays 0. An LFO has one value for both
// channels: its step writes the same value into both, so every read is a plain indexed load.
struct SourceValues
{
    float value[numSources][numChannels] = {};
};

// Block constants, copied once per block. The morph, mix and dry/wet amounts are also where an active
// modulation slot writes its result for the module to read.
struct ParamSnapshot
{
    int bufferSize[2] = {};
    int bufferRepeats[2] = {};
    float bufferRatio[2] = {};
    float filterMorph[2] = {};
    float filterCutoff[2] = {};
    float filterResonance[2] = {};
    int crusherBits[2] = {};
    int crusherRate[2] = {};
    float crusherMix[2] = {};
    float dryWet = 0.0f;
    float globalGain = 0.0f;
    int lfoWave[numLfos] = {};
    float lfoRate[numLfos] = {};
    bool lfoRateMultiply[numLfos] = {};
    bool lfoSync[numLfos] = {};
    int lfoSyncedRate[numLfos] = {};
    float mixerMix[numMixers] = {};
    int modSource[numModSlots] = {};
    float modDepth[numModSlots] = {};
    bool modActive[numModSlots] = {};
    int filterInputSource[2] = {};
    int crusherInputSource[2] = {};
    float inputLevel[numRoutingInputs] = {};
};

} // namespace engine
