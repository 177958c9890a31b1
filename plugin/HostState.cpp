#include "plugin/PluginProcessor.h"
#include "torva/torva_juce_xml.h"

// The host saves and restores the whole patch as one VOLKARIS_STATE element: the preset name, then every
// parameter's normalised value and MIDI binding, in index order.

namespace
{
const juce::Identifier stateTag{"VOLKARIS_STATE"};

/** The leading decimal number of a text, as the C library reads it; a text without one reads as 0.
    Out-of-range numbers saturate instead of overflowing. */
int readBinding(const juce::String& text)
{
    const long value = std::strtol(text.toRawUTF8(), nullptr, 10);
    return (int)juce::jlimit<long>(std::numeric_limits<int>::min(), std::numeric_limits<int>::max(), value);
}

double readValue(const juce::String& text)
{
    auto characters = text.getCharPointer();
    return juce::CharacterFunctions::readDoubleValue(characters);
}
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

    const auto state = torvaLib::parseCompleteXml(
        juce::String::fromUTF8(static_cast<const char*>(data) + 8, juce::jmin(sizeInBytes - 8, length)));
    if (state == nullptr || !state->getTagName().equalsIgnoreCase(stateTag.toString()))
        return;

    for (int i = 0; i < numParameters; ++i)
    {
        auto& p = *params.getUnchecked(i);

        const double value = state->hasAttribute(p.name) ? readValue(state->getStringAttribute(p.name))
                                                         : (double)p.defaultNormalised;
        setParameterNotifyingHost(i, (float)value);

        const auto ccKey = p.name + "CC";
        p.midiCC = state->hasAttribute(ccKey) ? readBinding(state->getStringAttribute(ccKey)) : -1;
    }

    presetName.set(state->getStringAttribute("PresetName", " "));
}
