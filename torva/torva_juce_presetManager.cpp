#include "torva/torva_juce_presetManager.h"

#include <algorithm>
#include <vector>

namespace torvaLib
{
namespace
{
/** Characters that would make a preset name a path or an illegal file name on this platform. */
#if JUCE_WINDOWS
const juce::String unsafeFileNameCharacters{"/\\:*?\"<>|"};
#else
const juce::String unsafeFileNameCharacters{"/"};
#endif
} // namespace

void PresetManager::update()
{
    juce::StringArray names;
    juce::Array<juce::File> files;

    const juce::File folder(productFolder);
    if (folder.isDirectory())
    {
        std::vector<juce::File> found;
        for (const auto& entry : juce::RangedDirectoryIterator(folder, false, "*", juce::File::findFiles))
            if (entry.getFile().hasFileExtension(extension))
                found.push_back(entry.getFile());

        // The natural order of the names, as juce::StringArray::sortNatural gives it, with each file kept
        // beside its name.
        std::stable_sort(
            found.begin(), found.end(),
            [](const juce::File& a, const juce::File& b)
            { return a.getFileNameWithoutExtension().compareNatural(b.getFileNameWithoutExtension()) < 0; });
        for (const auto& file : found)
        {
            names.add(file.getFileNameWithoutExtension());
            files.add(file);
        }
    }

    {
        const juce::SpinLock::ScopedLockType lock(listLock);
        presetNames.swapWith(names);
        presetFiles.swapWith(files);
    }
    // The previous lists are released here, outside the lock.
}

PresetManager::Lookup PresetManager::fileForIndex(int index, juce::File& file) const
{
    const juce::SpinLock::ScopedTryLockType lock(listLock);
    if (!lock.isLocked())
        return Lookup::busy;

    const int n = presetFiles.size();
    if (n == 0 || index < 0)
        return Lookup::noPreset;

    file = presetFiles.getReference(juce::jmin(index, n - 1));
    return Lookup::found;
}

juce::File PresetManager::proposedFileFor(const juce::String& presetName) const
{
    // A juce::String ends at its first NUL, so only the separators and forbidden characters remain to go.
    // The product folder's path ends in a separator; appending to it (rather than getChildFile, which reads
    // a leading "~" as the home folder) keeps every name inside it.
    const auto fileName = presetName.removeCharacters(unsafeFileNameCharacters);
    return juce::File(productFolder + fileName + "." + extension);
}

juce::File PresetManager::fileToSave(const juce::File& chosen) const
{
    const auto fileName = chosen.getFileName();
    const int dot = fileName.lastIndexOfChar('.');
    if (dot > 0 && fileName.substring(dot + 1).equalsIgnoreCase(extension))
        return chosen;
    return chosen.getSiblingFile((dot > 0 ? fileName.substring(0, dot) : fileName) + "." + extension);
}

} // namespace torvaLib
