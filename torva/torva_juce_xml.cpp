#include "torva/torva_juce_xml.h"

namespace torvaLib
{

std::unique_ptr<juce::XmlElement> parseCompleteXml(const juce::String& text)
{
    if (!text.trimEnd().endsWithChar('>'))
        return nullptr;
    return juce::XmlDocument(text).getDocumentElement();
}

} // namespace torvaLib
