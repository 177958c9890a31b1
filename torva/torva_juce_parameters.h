#pragma once

#include <juce_core/juce_core.h>

#include <atomic>

namespace torvaLib
{

/** One entry of the processor's parameter table: a normalised value 0..1 (what hosts, presets and the
    host state see) tied to a plain value in the parameter's own unit (what the engine and value texts use)
    by one of three curves. Owned by the processor; everyone else addresses it by index. */
class PluginParameter
{
public:
    PluginParameter() = default;

    /** Fills the record from one row of the parameter table and sets it to its default. */
    void init(float minimum, float maximum, float defaultPlain, bool integer, const juce::String& identifier,
              const juce::String& unitLabel, bool skewed, bool skewedSquared);

    /** Takes a normalised value; anything outside 0..1 (NaN included) is ignored. */
    void setNormalised(float newValue) noexcept;

    /** The integer part of the plain value, as every reader of an integer parameter takes it. */
    int plainInt() const noexcept { return (int)plainValue; }

    // Written by the host, the editor and the audio thread without a lock: every field that more than one
    // thread touches is atomic, so a reader sees either the old or the new value, never a torn one.
    std::atomic<float> value{0.0f};
    std::atomic<float> hostValue{0.0f};
    std::atomic<float> plainValue{0.0f};
    float min = 0.0f;
    float max = 1.0f;
    float defaultNormalised = 0.0f;
    bool isInt = false;
    std::atomic<int> midiCC{-1};
    std::atomic<bool> learnArmed{false};
    juce::String name{"Parameter"};
    juce::String label;
    bool skew = false;
    bool skewSquared = false;

private:
    float plainFromNormalised(float n) const noexcept;

    JUCE_DECLARE_NON_COPYABLE(PluginParameter)
};

} // namespace torvaLib
