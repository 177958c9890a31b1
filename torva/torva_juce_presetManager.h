#pragma once

#include <juce_core/juce_core.h>

namespace torvaLib
{

/** Knows where the product's preset files live, their extension, and the naturally sorted list of their
    names. Owned by the processor; rescanned by the preset bar after every save dialog. */
class PresetManager
{
public:
    /** Rescans the product folder into presetNames: files with the preset extension in any letter case,
        names without extension, in natural order (Preset 2 before Preset 10). */
    void update();

    int platformFlag = 1;
    juce::String presetRoot;
    juce::String productFolder;
    juce::String extension;
    juce::StringArray presetNames;
};

} // namespace torvaLib
