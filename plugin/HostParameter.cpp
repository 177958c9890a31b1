#include "plugin/HostParameter.h"

HostParameter::HostParameter(juce::AudioProcessor& owner, int tableIndex, const juce::String& parameterId,
                             float normalisedDefault)
    : juce::AudioProcessorParameterWithID(juce::ParameterID(parameterId, 1), parameterId), processor(owner),
      index(tableIndex), defaultValue(normalisedDefault)
{
}

float HostParameter::getValue() const
{
    return processor.getParameter(index);
}

void HostParameter::setValue(float newValue)
{
    processor.setParameter(index, newValue);
}

juce::String HostParameter::getName(int maximumStringLength) const
{
    return processor.getParameterName(index).substring(0, maximumStringLength);
}

juce::String HostParameter::getText(float, int maximumStringLength) const
{
    // Like the index-based adapter: the text describes the parameter's current value.
    return processor.getParameterText(index).substring(0, maximumStringLength);
}
