#include "plugin/PluginProcessor.h"

// Placeholder until the audio engine lands: serves the block-start requests and reads the tempo.

void QuorvelAudioProcessor::prepareToPlay(double, int) {}

void QuorvelAudioProcessor::processBlock(juce::AudioBuffer<float>& buffer, juce::MidiBuffer&)
{
    juce::ScopedNoDenormals noDenormals;
    serveLoadByIndexRequest();
    serveClearAllRequest();
    serveRandomiseRequest();

    if (auto* head = getPlayHead())
        if (const auto position = head->getPosition())
            if (const auto bpm = position->getBpm())
                hostBpm = (float)*bpm;

    for (int c = getTotalNumInputChannels(); c < getTotalNumOutputChannels(); ++c)
        buffer.clear(c, 0, buffer.getNumSamples());
}
