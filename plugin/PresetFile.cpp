#include "plugin/PresetFile.h"

#include "plugin/PluginProcessor.h"
#include "torva/torva_juce_xml.h"

namespace
{
const juce::String presetTag{"VOLKARIS_PRESET"};
const juce::String nameAttribute{"PresetName"};

double readValue(const juce::String& text)
{
    auto characters = text.getCharPointer();
    return juce::CharacterFunctions::readDoubleValue(characters);
}
} // namespace

namespace PresetFile
{
std::unique_ptr<juce::XmlElement> create(QuorvelAudioProcessor& processor, const juce::String& name)
{
    auto preset = std::make_unique<juce::XmlElement>(presetTag);
    preset->setAttribute(nameAttribute, name);
    for (int i = 0; i < QuorvelAudioProcessor::numParameters; ++i)
        preset->setAttribute(processor.getParameterName(i), (double)processor.getParameter(i));
    return preset;
}

bool write(QuorvelAudioProcessor& processor, const juce::String& name, const juce::File& file)
{
    return create(processor, name)->writeTo(file);
}

bool apply(QuorvelAudioProcessor& processor, const juce::File& file)
{
    const auto preset = torvaLib::parseCompleteXml(file.loadFileAsString());
    if (preset == nullptr || !preset->getTagName().equalsIgnoreCase(presetTag))
        return false;

    for (int i = 0; i < QuorvelAudioProcessor::numParameters; ++i)
    {
        const auto id = processor.getParameterName(i);
        const double value = preset->hasAttribute(id)
                                 ? readValue(preset->getStringAttribute(id))
                                 : (double)processor.params.getUnchecked(i)->defaultNormalised;
        processor.setParameterNotifyingHost(i, (float)value);
    }
    processor.presetName.set(preset->getStringAttribute(nameAttribute, " "));
    return true;
}
} // namespace PresetFile
