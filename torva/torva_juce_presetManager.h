#pragma once

#include <juce_core/juce_core.h>

namespace torvaLib
{

/** Knows where the product's preset files live, their extension, and the naturally sorted list of their
    names. Owned by the processor; rescanned on the message thread by the preset bar after every save
    dialog, and read on the audio thread when a load by index is served. */
class PresetManager
{
public:
    /** Rescans the product folder: files with the preset extension in any letter case, names without
        extension, in natural order (Preset 2 before Preset 10). The new list is built aside and swapped
        in whole, so the audio thread never sees a list half rebuilt. Message thread only. */
    void update();

    enum class Lookup
    {
        found,
        noPreset,
        busy
    };

    /** The name a load by index takes: entry index, or the last entry when index lies past the end.
        noPreset for an empty list or a negative index; busy while update() is swapping the list in, so
        the caller can try again later. Never blocks: safe on the audio thread. */
    Lookup nameForIndex(int index, juce::String& name) const;

    /** The preset file of a name from the list. */
    juce::File fileForName(const juce::String& name) const;

    /** The file a save dialog proposes for a preset name: the name made a legal file name, so a name taken
        from a state or a preset file can neither reach outside the product folder nor into a sub-folder. */
    juce::File proposedFileFor(const juce::String& presetName) const;

    int platformFlag = 1;
    juce::String presetRoot;
    juce::String productFolder;
    juce::String extension;

    /** Written only by update() on the message thread, which may read it freely; other threads go through
        nameForIndex(). */
    juce::StringArray presetNames;

private:
    mutable juce::SpinLock listLock;
};

} // namespace torvaLib
