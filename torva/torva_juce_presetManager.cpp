#include "torva/torva_juce_presetManager.h"

namespace torvaLib
{

void PresetManager::update()
{
    juce::StringArray names;

    const juce::File folder(productFolder);
    if (folder.isDirectory())
    {
        for (const auto& entry : juce::RangedDirectoryIterator(folder, false, "*", juce::File::findFiles))
        {
            const auto file = entry.getFile();
            if (file.hasFileExtension(extension))
                names.add(file.getFileNameWithoutExtension());
        }
        names.sortNatural();
    }

    {
        const juce::SpinLock::ScopedLockType lock(listLock);
        presetNames.swapWith(names);
    }
    // The previous list is released here, outside the lock.
}

PresetManager::Lookup PresetManager::nameForIndex(int index, juce::String& name) const
{
    const juce::SpinLock::ScopedTryLockType lock(listLock);
    if (!lock.isLocked())
        return Lookup::busy;

    const int n = presetNames.size();
    if (n == 0 || index < 0)
        return Lookup::noPreset;

    name = presetNames[juce::jmin(index, n - 1)];
    return Lookup::found;
}

juce::File PresetManager::fileForName(const juce::String& name) const
{
    return juce::File(productFolder).getChildFile(name + "." + extension);
}

juce::File PresetManager::proposedFileFor(const juce::String& presetName) const
{
    return fileForName(juce::File::createLegalFileName(presetName));
}

} // namespace torvaLib
