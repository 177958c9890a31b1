#include "plugin/PluginProcessor.h"
#include "torva/torva_juce_xml.h"

// The host saves and restores the whole patch as one VOLKARIS_STATE element: the preset name, then every
// parameter's normalised value and MIDI binding, in index order.

namespace
{
const juce::Identifier stateTag{"VOLKARIS_STATE"};
} // namespace

void QuorvelAudioProcessor::getStateInformation(juce::MemoryBlock& destData)
{
    juce::XmlElement state(stateTag);
    state.setAttribute("PresetName", presetName.get());
    for (int i = 0; i < numParameters; ++i)
    {
        const auto& p = *params.getUnchecked(i);
        state.setAttribute(p.name, (double)getParameter(i));
        state.setAttribute(p.name + "CC", p.midiCC.load());
    }

    destData.reset();
    copyXmlToBinary(state, destData);
}

void QuorvelAudioProcessor::setStateInformation(const void* data, int sizeInBytes)
{
    // The framework's envelope: magic, length, then the XML text (the length may overstate what is there).
    if (data == nullptr || sizeInBytes <= 8 || juce::ByteOrder::littleEndianInt(data) != 0x21324356)
        return;
    const auto length = (int)juce::ByteOrder::littleEndianInt(juce::addBytesToPointer(data, 4));
    if (length < 1)
        return;

    const auto state = torvaLib::parseCompleteXml(static_cast<const char*>(data) + 8,
                                                  (size_t)juce::jmin(sizeInBytes - 8, length));
    if (state == nullptr || !state->getTagName().equalsIgnoreCase(stateTag.toString()))
        return;

    for (int i = 0; i < numParameters; ++i)
    {
        auto& p = *params.getUnchecked(i);

        setStoredParameter(*state, i);

        const auto ccKey = p.name + "CC";
        p.midiCC =
            state->hasAttribute(ccKey) ? torvaLib::readStoredBinding(state->getStringAttribute(ccKey)) : -1;
    }

    presetName.set(state->getStringAttribute("PresetName", " "));
}

void QuorvelAudioProcessor::setStoredParameter(const juce::XmlElement& stored, int index)
{
    const auto& p = *params.getUnchecked(index);
    const double value = stored.hasAttribute(p.name)
                             ? torvaLib::readStoredValue(stored.getStringAttribute(p.name))
                             : p.defaultNormalised;
    const auto narrowed = (float)value;
    if (narrowed >= 0.0f && narrowed <= 1.0f)
        setParameterNotifyingHost(index, narrowed);
}
