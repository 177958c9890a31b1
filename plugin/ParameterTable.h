#pragma once

#include <array>

/** Where things live in the parameter table: the fixed indices that the engine, the value texts and the
    editor address, derived from one description of the table. */
namespace ParameterTable
{

/** The eighteen sources that routing, mixers, multipliers and modulation choose from, in index order. */
enum Source
{
    srcNone,
    srcInput,
    srcBuffer1,
    srcBuffer2,
    srcFilter1,
    srcFilter2,
    srcCrusher1,
    srcCrusher2,
    srcLfo1,
    srcLfo2,
    srcLfo3,
    srcLfo4,
    srcMixer1,
    srcMixer2,
    srcMixer3,
    srcMixer4,
    srcMultiplier1,
    srcMultiplier2,
    numSources
};

/** The names that carry a source through drag and drop, and the texts that show it. */
extern const std::array<const char*, numSources> sourceIdentifiers;
extern const std::array<const char*, numSources> sourceDisplayTexts;

constexpr int lfoBase(int lfo) { return 20 + 5 * lfo; } // lfo 0..3: Wave, Rate, Rate_Multiply, Sync, SyncedRate

constexpr int numModSlots = 31;
constexpr int firstModSlot = 56;
constexpr int modSourceIndex(int slot) { return firstModSlot + 2 * slot; }
constexpr int modDepthIndex(int slot) { return firstModSlot + 2 * slot + 1; }

/** The parameter each modulation slot moves, in slot order. */
extern const std::array<int, numModSlots> modTargets;

constexpr int numRoutingInputs = 7; // Buffer1, Buffer2, Filter1, Filter2, Crusher1, Crusher2, Dry_Wet
constexpr int firstRoutingInput = 118;
constexpr int inputSourceIndex(int input) { return firstRoutingInput + 2 * input; }
constexpr int inputLevelIndex(int input) { return firstRoutingInput + 2 * input + 1; }

/** True for every parameter that holds a source index (routing, modulation, mixer and multiplier inputs). */
constexpr bool isSourceSelector(int index)
{
    return (index >= 40 && index <= 55 && index != 42 && index != 45 && index != 48 && index != 51)
           || (index >= 56 && index <= 130 && index % 2 == 0);
}

/** The normalised value that selects source k: k / 17 in single precision. */
constexpr float sourceToNormalised(int source) { return (float)source / 17.0f; }

} // namespace ParameterTable
