// Writes the parameters' defaults in the LV2 bundle's Turtle again, with every digit a float needs. The
// framework's writer prints six significant digits, and a host that resets a source selector to 0.0588235
// instead of 1/17 selects no source, an integer parameter lands one step low. Run after the framework's
// helper has written dsp.ttl; takes that file's path.
#include "plugin/PluginProcessor.h"

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2)
        return 1;

    juce::OwnedArray<torvaLib::PluginParameter> params;
    for (int i = 0; i < QuorvelAudioProcessor::numParameters; ++i)
        params.add(new torvaLib::PluginParameter());
    initializeAllParameters(params);

    const juce::File turtle(argv[1]);
    juce::StringArray lines;
    lines.addLines(turtle.loadFileAsString());

    // A parameter's block starts with its line "plug:<identifier>"; its default is a line of its own.
    const torvaLib::PluginParameter* current = nullptr;
    int written = 0;
    for (auto& line : lines)
    {
        if (line.startsWith("plug:"))
        {
            current = nullptr;
            for (const auto* p : params)
                if (line == "plug:" + p->name)
                    current = p;
        }
        else if (current != nullptr && line.startsWith("\tlv2:default "))
        {
            char digits[32];
            std::snprintf(digits, sizeof digits, "%.9g", (double)current->defaultNormalised);
            line = "\tlv2:default " + juce::String(digits) + " ;";
            ++written;
        }
    }

    if (written != QuorvelAudioProcessor::numParameters)
    {
        std::fprintf(stderr, "%s: found %d parameter defaults, not %d\n", argv[1], written,
                     QuorvelAudioProcessor::numParameters);
        return 1;
    }
    return turtle.replaceWithText(lines.joinIntoString("\n"), false, false, "\n") ? 0 : 1;
}
