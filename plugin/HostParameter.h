#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

/** The face of one table parameter towards the plug-in wrappers. It forwards the value, the name and the
    text to the processor's index-based calls, as the framework's adapter for index-based processors does,
    and adds what that adapter lacks: an identifier that every wrapper accepts (LV2 needs a valid Turtle
    name, the parameter's identifier text; the other formats keep the decimal index), and the default a
    fresh instance starts with, which a host's "reset to default" sets. */
class HostParameter final : public juce::AudioProcessorParameterWithID
{
public:
    HostParameter(juce::AudioProcessor& owner, int index, const juce::String& parameterId,
                  float defaultValue);

    float getValue() const override;
    void setValue(float newValue) override;
    float getDefaultValue() const override { return defaultValue; }
    juce::String getName(int maximumStringLength) const override;
    juce::String getLabel() const override { return {}; }
    juce::String getText(float value, int maximumStringLength) const override;
    float getValueForText(const juce::String& text) const override { return text.getFloatValue(); }

private:
    juce::AudioProcessor& processor;
    const int index;
    const float defaultValue;
};
