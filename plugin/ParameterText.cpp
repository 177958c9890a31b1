#include "plugin/ParameterTable.h"
#include "plugin/PluginProcessor.h"

namespace
{

const char* const waveTexts[] = {"SIN", "SQR", "SUP", "SDN", "TRI", "S&H"};
const char* const switchTexts[] = {"OFF", "ON"};
const char* const syncedRateTexts[] = {"8 BARS", "4 BARS", "2 BARS", "1 BAR", "1/2D",  "1/2",
                                       "1/4D",   "1/4",    "1/8D",   "1/8",   "1/16D", "1/16",
                                       "1/32D",  "1/32",   "1/64D",  "1/64",  "1/128D", "1/128"};

template <size_t N>
juce::String choice(const char* const (&texts)[N], int v)
{
    return juce::isPositiveAndBelow(v, (int)N) ? juce::String(texts[v]) : juce::String();
}

/** The position of an LFO parameter within its five-parameter group, or -1 outside 20..39. */
int lfoSlot(int index)
{
    return (index >= 20 && index < 40) ? (index - 20) % 5 : -1;
}

} // namespace

const juce::String QuorvelAudioProcessor::getParameterText(int index)
{
    if (!isIndexValid(index))
        return {};

    const auto& p = *params.getUnchecked(index);
    const float plain = p.plainValue;
    if (!p.isInt)
        return juce::String((double)plain, 2) + " " + p.label;

    const int v = (int)plain;
    if (ParameterTable::isSourceSelector(index))
    {
        return juce::isPositiveAndBelow(v, ParameterTable::numSources)
                   ? juce::String(ParameterTable::sourceDisplayTexts[(size_t)v])
                   : juce::String();
    }

    switch (lfoSlot(index))
    {
    case 0: return choice(waveTexts, v);
    case 2:
    case 3: return choice(switchTexts, v);
    case 4: return choice(syncedRateTexts, v);
    default: break;
    }

    return juce::String(v) + " " + p.label;
}

juce::String QuorvelAudioProcessor::getParameterDisplayName(int index) const
{
    static const char* const moduleNames[] = {
        "SIZE", "REPEATS", "RATIO", "SIZE", "REPEATS", "RATIO", "MORPH", "CUTOFF", "RESONANCE", "MORPH",
        "CUTOFF", "RESONANCE", "BITS", "RATE REDUCTION", "MIX", "BITS", "RATE REDUCTION", "MIX", "DRY/WET",
        "OUTPUT LEVEL"};
    static const char* const lfoNames[] = {"WAVEFORM", "RATE", "RATE MULTIPLY", "SYNC", "RATE"};
    static const char* const mixerNames[] = {"SOURCE A", "SOURCE B", "MIX"};

    if (!isIndexValid(index))
        return {};
    if (index < 20)
        return moduleNames[index];
    if (index < 40)
        return lfoNames[lfoSlot(index)];
    if (index < 52)
        return mixerNames[(index - 40) % 3];
    if (index < 56)
        return (index % 2 == 0) ? "SOURCE A" : "SOURCE B";
    if (index < ParameterTable::firstRoutingInput)
        return (index % 2 == 0) ? "MODULATION SOURCE" : "MODULATION DEPTH";
    return (index % 2 == 0) ? "AUDIO INPUT" : "AUDIO INPUT LEVEL";
}
