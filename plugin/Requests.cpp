#include "plugin/PluginProcessor.h"

// Placeholder until presets and MIDI handling land: each request is only acknowledged.

void QuorvelAudioProcessor::serveLoadByIndexRequest()
{
    loadByIndexRequest = false;
}

void QuorvelAudioProcessor::serveClearAllRequest()
{
    clearAllRequest = false;
}

void QuorvelAudioProcessor::serveRandomiseRequest()
{
    randomiseRequest = false;
}

void QuorvelAudioProcessor::handleMidiEvent(const juce::MidiMessageMetadata&) {}

void QuorvelAudioProcessor::loadPresetFromFile(const juce::String&) {}

void QuorvelAudioProcessor::writeLogSummary(juce::FileLogger*) {}
