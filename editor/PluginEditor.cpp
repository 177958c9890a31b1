#include "editor/PluginEditor.h"

#include "plugin/PluginProcessor.h"

QuorvelAudioProcessorEditor::QuorvelAudioProcessorEditor(QuorvelAudioProcessor* owner)
    : juce::AudioProcessorEditor(owner), processor(owner)
{
    setSize(920, 600);
}

QuorvelAudioProcessorEditor::~QuorvelAudioProcessorEditor() = default;

void QuorvelAudioProcessorEditor::paint(juce::Graphics& g)
{
    g.fillAll(juce::Colours::black);
}
