#pragma once

#include "plugin/EngineTypes.h"
#include "torva/torva_juce_lanes.h"
#include "torva/torva_juce_parameters.h"

// The thirty-one modulation slots (ParameterTable::modTargets and their parameter pairs) and the one rule
// they all share.

namespace engine
{

// Slots of each module, module n counting from 0.
constexpr int bufferSizeSlot(int n)
{
    return 0 + 3 * n;
}
constexpr int bufferRepeatsSlot(int n)
{
    return 1 + 3 * n;
}
constexpr int bufferRatioSlot(int n)
{
    return 2 + 3 * n;
}
constexpr int filterMorphSlot(int n)
{
    return 6 + 3 * n;
}
constexpr int filterCutoffSlot(int n)
{
    return 7 + 3 * n;
}
constexpr int filterResonanceSlot(int n)
{
    return 8 + 3 * n;
}
constexpr int crusherBitsSlot(int n)
{
    return 12 + 3 * n;
}
constexpr int crusherRateSlot(int n)
{
    return 13 + 3 * n;
}
constexpr int crusherMixSlot(int n)
{
    return 14 + 3 * n;
}
constexpr int dryWetSlot = 18;
constexpr int lfoWaveSlot(int n)
{
    return 19 + 2 * n;
}
constexpr int lfoRateSlot(int n)
{
    return 20 + 2 * n;
}
constexpr int mixerMixSlot(int n)
{
    return 27 + n;
}

// The modulated value of a control, in its own unit and range. A knob above its mid-point swings towards
// the maximum; at or below it the swing is the knob value itself, so a source of -1 at full depth takes
// it to 0. Evaluated in this order, in single precision: sound depends on these exact bits. The engine
// passes the range and its mid-point, (hi - lo) * 0.5f + lo, worked out once per block, and the source
// of one channel (float) or of both (FloatPair).
//
// The rule in two parts: what the control alone decides (its value and the swing that a source of 1
// gives it), which the engine works out again only when the control moves, and what the source adds.
struct ModulationSwing
{
    float value;
    float swing;
};

inline ModulationSwing modulationSwing(float v, float hi, float mid, float depth)
{
    const float span = v > mid ? hi - v : v;
    return {v, depth * span};
}

// The control's value, swing and range come in lanes of their own, each lane the same, so that the engine
// can keep them in that form.
template <typename Lanes> inline Lanes modulateBy(Lanes value, Lanes swing, Lanes lo, Lanes hi, Lanes source)
{
    using torvaLib::maxOf;
    using torvaLib::minOf;
    // Both limits are compare-and-selects, which keep a NaN as it is, like the rule does:
    // 1 < source ? 1 : source, then -1 > that ? -1 : that.
    const Lanes m = maxOf(Lanes(-1.0f), minOf(Lanes(1.0f), source));
    const Lanes out = swing * m + value;
    // hi < out ? hi : out, then lo > that ? lo : that.
    return maxOf(lo, minOf(hi, out));
}

template <typename Lanes>
inline Lanes modulateValue(float v, float lo, float hi, float mid, float depth, Lanes source)
{
    const ModulationSwing control = modulationSwing(v, hi, mid, depth);
    return modulateBy(Lanes(control.value), Lanes(control.swing), Lanes(lo), Lanes(hi), source);
}

inline float modulationMidPoint(float lo, float hi)
{
    return (hi - lo) * 0.5f + lo;
}

// The rule on a target parameter: its live plain value within its range.
inline float applyModulation(const torvaLib::PluginParameter& target, float depth, float source)
{
    return modulateValue(target.plainValue.load(std::memory_order_relaxed), target.min, target.max,
                         modulationMidPoint(target.min, target.max), depth, source);
}

} // namespace engine
