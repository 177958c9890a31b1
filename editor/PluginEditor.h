#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

class QuorvelAudioProcessor;

/** The plug-in's window. */
class QuorvelAudioProcessorEditor : public juce::AudioProcessorEditor
{
public:
    explicit QuorvelAudioProcessorEditor(QuorvelAudioProcessor* owner);
    ~QuorvelAudioProcessorEditor() override;

    void paint(juce::Graphics& g) override;

    QuorvelAudioProcessor* processor = nullptr;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(QuorvelAudioProcessorEditor)
};
