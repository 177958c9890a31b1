#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

/** The face of one table parameter towards the plug-in wrappers. It forwards every question to the
    processor's index-based calls, exactly as the framework's adapter for index-based processors does;
    it exists only to give the parameter an identifier that every wrapper accepts. LV2 needs one that is a
    valid Turtle name (the parameter's identifier text); the other formats keep the decimal index. */
class HostParameter final : public juce::AudioProcessorParameterWithID
{
public:
    HostParameter(juce::AudioProcessor& owner, int index, const juce::String& parameterId);

    float getValue() const override;
    void setValue(float newValue) override;
    float getDefaultValue() const override { return 0.0f; }
    juce::String getName(int maximumStringLength) const override;
    juce::String getLabel() const override { return {}; }
    juce::String getText(float value, int maximumStringLength) const override;
    float getValueForText(const juce::String& text) const override { return text.getFloatValue(); }

private:
    juce::AudioProcessor& processor;
    const int index;
};
