#include "torva/torva_juce_xml.h"

namespace torvaLib
{

std::unique_ptr<juce::XmlElement> parseCompleteXml(const juce::String& text)
{
    if (!text.trimEnd().endsWithChar('>'))
        return nullptr;
    return juce::XmlDocument(text).getDocumentElement();
}

double readStoredValue(const juce::String& text)
{
    auto characters = text.getCharPointer();
    return juce::CharacterFunctions::readDoubleValue(characters);
}

int readStoredBinding(const juce::String& text)
{
    const long value = std::strtol(text.toRawUTF8(), nullptr, 10);
    return (int)juce::jlimit<long>(std::numeric_limits<int>::min(), std::numeric_limits<int>::max(), value);
}

} // namespace torvaLib
