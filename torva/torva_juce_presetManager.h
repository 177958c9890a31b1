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

    /** The file a load by index takes: that of entry index, or of the last entry when index lies past the
        end. It is the file the scan found, so a preset saved as Loud.VXP loads on a case-sensitive file
        system too. noPreset for an empty list or a negative index; busy while update() is swapping the
        list in, so the caller can try again later. Never blocks: safe on the audio thread. */
    Lookup fileForIndex(int index, juce::File& file) const;

    /** The file a save dialog proposes for a preset name: the name with only the characters taken out that
        could lead outside the product folder or that the platform forbids in a file name. Every other
        character stays, so the name of a loaded preset proposes that preset's own file. */
    juce::File proposedFileFor(const juce::String& presetName) const;

    /** The file a save writes for the file chosen in its dialog: the chosen file itself when its name ends
        in the preset extension in any letter case, else the chosen file with its extension replaced by the
        preset extension, or the extension added when it has none. A dot that begins the name starts no
        extension, so ".hidden" is written as ".hidden.vxp", and "Dark.Pad" as "Dark.vxp". The preset's
        name is that file's name without its extension, as update() lists it. */
    juce::File fileToSave(const juce::File& chosen) const;

    int platformFlag = 1;
    juce::String presetRoot;
    juce::String productFolder;
    juce::String extension;

    /** Written only by update() on the message thread, which may read it freely; other threads go through
        nameForIndex(). */
    juce::StringArray presetNames;

private:
    /** The file behind each entry of presetNames, in the same order. */
    juce::Array<juce::File> presetFiles;
    mutable juce::SpinLock listLock;
};

} // namespace torvaLib
