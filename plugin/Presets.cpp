#include "plugin/ParameterTable.h"
#include "plugin/PluginProcessor.h"
#include "torva/torva_juce_replaceFile.h"
#include "torva/torva_juce_xml.h"

// Preset files: one VOLKARIS_PRESET element holding the preset name and every parameter's normalised
// value under its identifier. Bindings are not part of a preset; loads and randomise never touch them.

namespace
{
const juce::Identifier presetTag{"VOLKARIS_PRESET"};
const juce::Identifier presetNameAttribute{"PresetName"};

/** What randomise draws for: both buffers, filters and crushers, each LFO's wave and rates, the four
    mixers' amounts. Levels, switches, sources, routing and modulation keep their values. */
constexpr int randomisedParameters[] = {0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16,
                                        17, 20, 21, 24, 25, 26, 29, 30, 31, 34, 35, 36, 39, 42, 45, 48, 51};

bool isWaveParameter(int index)
{
    for (int lfo = 0; lfo < 4; ++lfo)
        if (index == ParameterTable::lfoBase(lfo))
            return true;
    return false;
}
} // namespace

void QuorvelAudioProcessor::loadPresetFromFile(const juce::String& path)
{
    // While an editor exists, its timer applies the file on the message thread; this call may come from
    // the audio thread, which must not read files the editor could read for it.
    if (getActiveEditor() != nullptr)
    {
        pendingPresetPath.set(path);
        loadPending = true;
        return;
    }

    applyPresetFile(path);
}

void QuorvelAudioProcessor::applyPresetFile(const juce::String& path)
{
    const juce::File file(path);
    if (!file.existsAsFile())
        return;

    const auto preset = torvaLib::parseCompleteXmlFile(file);
    if (preset == nullptr || !preset->getTagName().equalsIgnoreCase(presetTag.toString()))
        return;

    for (int i = 0; i < numParameters; ++i)
        setStoredParameter(*preset, i);

    presetName.set(preset->getStringAttribute(presetNameAttribute, " "));
}

std::unique_ptr<juce::XmlElement> QuorvelAudioProcessor::createPresetXml(const juce::String& name)
{
    auto preset = std::make_unique<juce::XmlElement>(presetTag);
    preset->setAttribute(presetNameAttribute, name);
    for (int i = 0; i < numParameters; ++i)
        preset->setAttribute(params.getUnchecked(i)->name, (double)getParameter(i));
    return preset;
}

juce::Result QuorvelAudioProcessor::writePresetFile(const juce::File& chosen, const juce::String& name)
{
    // The framework's default text format. Its own file writer is not used: its temporary file's name is
    // the target's name and 13 bytes more, which fails for names near the file system's limit.
    juce::MemoryOutputStream text;
    createPresetXml(name)->writeTo(text, {});
    return torvaLib::replaceFileWithBytes(presetManager.fileToSave(chosen), text.getData(),
                                          text.getDataSize());
}

void QuorvelAudioProcessor::serveLoadByIndexRequest()
{
    if (!loadByIndexRequest)
        return;

    juce::File file;
    switch (presetManager.fileForIndex(presetIndex, file))
    {
    case torvaLib::PresetManager::Lookup::busy:
        return; // the list is being swapped in right now: the request waits for the next block
    case torvaLib::PresetManager::Lookup::noPreset:
        break;
    case torvaLib::PresetManager::Lookup::found:
        loadPresetFromFile(file.getFullPathName());
        break;
    }
    loadByIndexRequest = false;
}

void QuorvelAudioProcessor::serveRandomiseRequest()
{
    if (!randomiseRequest)
        return;

    // One draw per parameter in ascending index order, a second one only for a wave above 0.8: the last
    // wave (sample-and-hold) comes up less often than the others.
    for (const int i : randomisedParameters)
    {
        float value = random.nextFloat();
        if (isWaveParameter(i) && value > 0.8f && random.nextFloat() > 0.5f)
            value = 1.0f;
        setParameterNotifyingHost(i, value);
    }
    randomiseRequest = false;
}
