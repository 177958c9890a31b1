#include "torva/torva_juce_presetManager.h"

namespace torvaLib
{

void PresetManager::update()
{
    presetNames.clearQuick();
    presetNames.minimiseStorageOverheads();

    const juce::File folder(productFolder);
    if (!folder.isDirectory())
        return;

    for (const auto& entry : juce::RangedDirectoryIterator(folder, false, "*", juce::File::findFiles))
    {
        const auto file = entry.getFile();
        if (file.hasFileExtension(extension))
            presetNames.add(file.getFileNameWithoutExtension());
    }

    presetNames.sortNatural();
}

} // namespace torvaLib
