#include "plugin/ParameterTable.h"
#include "plugin/PluginProcessor.h"

namespace ParameterTable
{

const std::array<const char*, numSources> sourceIdentifiers{
    "Src_None",     "Src_Input",    "Src_Buffer1",  "Src_Buffer2",     "Src_Filter1",    "Src_Filter2",
    "Src_Crusher1", "Src_Crusher2", "Src_Lfo1",     "Src_Lfo2",        "Src_Lfo3",       "Src_Lfo4",
    "Src_Mixer1",   "Src_Mixer2",   "Src_Mixer3",   "Src_Mixer4",      "Src_Multiplier1", "Src_Multiplier2"};

const std::array<const char*, numSources> sourceDisplayTexts{
    "NONE",      "INPUT",     "BUFFER 1", "BUFFER 2", "FILTER 1", "FILTER 2",    "CRUSHER 1",   "CRUSHER 2", "LFO 1",
    "LFO 2",     "LFO 3",     "LFO 4",    "MIXER 1",  "MIXER 2",  "MIXER 3",     "MIXER 4",     "MULTIPLIER 1",
    "MULTIPLIER 2"};

const std::array<int, numModSlots> modTargets{0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15,
                                              16, 17, 18, 20, 21, 25, 26, 30, 31, 35, 36, 42, 45, 48, 51};

} // namespace ParameterTable

namespace
{

enum class Curve
{
    proportional,
    root,
    square
};

struct Row
{
    juce::String identifier;
    const char* label;
    float min, max, defaultPlain;
    bool isInt;
    Curve curve;
};

/** One row per parameter, in index order. The order is part of every saved host project. */
std::vector<Row> buildTable()
{
    const char* none = "";
    const char* percent = "%";
    const auto source = [&](juce::String id, int defaultSource) {
        return Row{std::move(id), none, 0.0f, 17.0f, (float)defaultSource, true, Curve::proportional};
    };

    std::vector<Row> rows{
        {"Buffer1_Size", "Ms", 1.0f, 1000.0f, 150.0f, true, Curve::proportional},
        {"Buffer1_Repeats", " ", 1.0f, 128.0f, 3.0f, true, Curve::root},
        {"Buffer1_Ratio", none, -2.0f, 2.0f, 1.0f, false, Curve::proportional},
        {"Buffer2_Size", "Ms", 1.0f, 1000.0f, 300.0f, true, Curve::proportional},
        {"Buffer2_Repeats", " ", 1.0f, 128.0f, 3.0f, true, Curve::root},
        {"Buffer2_Ratio", none, -2.0f, 2.0f, 1.0f, false, Curve::proportional},
        {"Filter1_Morph", percent, 0.0f, 100.0f, 0.0f, false, Curve::proportional},
        {"Filter1_Cutoff", "Hz", 20.0f, 11000.0f, 11000.0f, false, Curve::root},
        {"Filter1_Resonance", percent, 0.0f, 100.0f, 0.0f, false, Curve::proportional},
        {"Filter2_Morph", percent, 0.0f, 100.0f, 0.0f, false, Curve::proportional},
        {"Filter2_Cutoff", "Hz", 20.0f, 11000.0f, 11000.0f, false, Curve::root},
        {"Filter2_Resonance", percent, 0.0f, 100.0f, 0.0f, false, Curve::proportional},
        {"Crusher1_Bits", none, 1.0f, 16.0f, 16.0f, true, Curve::proportional},
        {"Crusher1_Rate", none, 1.0f, 64.0f, 1.0f, true, Curve::proportional},
        {"Crusher1_Mix", percent, 0.0f, 100.0f, 0.0f, false, Curve::proportional},
        {"Crusher2_Bits", none, 1.0f, 16.0f, 16.0f, true, Curve::proportional},
        {"Crusher2_Rate", none, 1.0f, 64.0f, 1.0f, true, Curve::proportional},
        {"Crusher2_Mix", percent, 0.0f, 100.0f, 0.0f, false, Curve::proportional},
        {"Dry_Wet", percent, 0.0f, 100.0f, 50.0f, false, Curve::proportional},
        {"Global_Gain", "dB", -70.0f, 6.0f, 0.0f, false, Curve::square},
    };

    for (int n = 1; n <= 4; ++n)
    {
        const auto lfo = "LFO" + juce::String(n);
        rows.push_back({lfo + "_Wave", none, 0.0f, 5.0f, 0.0f, true, Curve::proportional});
        rows.push_back({lfo + "_Rate", "Hz", 0.0f, 40.0f, 1.0f, false, Curve::root});
        rows.push_back({lfo + "_Rate_Multiply", none, 0.0f, 1.0f, 0.0f, true, Curve::proportional});
        rows.push_back({lfo + "_Sync", none, 0.0f, 1.0f, 0.0f, true, Curve::proportional});
        rows.push_back({lfo + "_SyncedRate", none, 0.0f, 17.0f, 11.0f, true, Curve::proportional});
    }

    for (int n = 1; n <= 4; ++n)
    {
        const auto mixer = "Mixer" + juce::String(n);
        const bool first = n == 1;
        rows.push_back(source(mixer + "_SourceA", first ? ParameterTable::srcCrusher1 : 0));
        rows.push_back(source(mixer + "_SourceB", first ? ParameterTable::srcCrusher2 : 0));
        rows.push_back({mixer + "_Mix", percent, 0.0f, 100.0f, first ? 50.0f : 0.0f, false, Curve::proportional});
    }

    for (int n = 1; n <= 2; ++n)
    {
        const auto multiplier = "Multiplier" + juce::String(n);
        rows.push_back(source(multiplier + "_SourceA", 0));
        rows.push_back(source(multiplier + "_SourceB", 0));
    }

    for (int target : ParameterTable::modTargets)
    {
        const auto id = rows[(size_t)target].identifier; // a copy: push_back may move the rows
        rows.push_back(source(id + "ModSrc", 0));
        rows.push_back({id + "ModDepth", percent, 0.0f, 100.0f, 0.0f, false, Curve::proportional});
    }

    struct Input
    {
        const char* module;
        int defaultSource;
    };
    const Input inputs[ParameterTable::numRoutingInputs]{
        {"Buffer1", ParameterTable::srcInput},     {"Buffer2", ParameterTable::srcInput},
        {"Filter1", ParameterTable::srcBuffer1},   {"Filter2", ParameterTable::srcBuffer2},
        {"Crusher1", ParameterTable::srcFilter1},  {"Crusher2", ParameterTable::srcFilter2},
        {"Dry_Wet", ParameterTable::srcMixer1}};
    for (const auto& input : inputs)
    {
        const juce::String module(input.module);
        rows.push_back(source(module + "_InputSrc", input.defaultSource));
        rows.push_back({module + "_InputLevel", percent, 0.0f, 100.0f, 100.0f, false, Curve::proportional});
    }

    jassert(rows.size() == (size_t)QuorvelAudioProcessor::numParameters);
    return rows;
}

} // namespace

void initializeAllParameters(juce::OwnedArray<torvaLib::PluginParameter>& params)
{
    const auto rows = buildTable();
    for (size_t i = 0; i < rows.size(); ++i)
    {
        const auto& row = rows[i];
        params[(int)i]->init(row.min, row.max, row.defaultPlain, row.isInt, row.identifier, row.label,
                             row.curve != Curve::proportional, row.curve == Curve::square);
    }
}
