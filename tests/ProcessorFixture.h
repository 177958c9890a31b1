#pragma once

#include "plugin/PluginProcessor.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

juce::AudioProcessor* JUCE_CALLTYPE createPluginFilter();

/** Every test starts as on a fresh system: no presets, settings or log left by an earlier test run in the
    same binary. Only ever inside the temporary HOME the test main made. */
inline void clearTestUserFiles()
{
    const auto home = juce::File::getSpecialLocation(juce::File::userHomeDirectory);
    if (!home.getFileName().startsWith("quorvel-test-home-"))
        return;
    home.getChildFile("Library").deleteRecursively();
    home.getChildFile(".config").deleteRecursively();
}

/** A processor created the way a host creates it, in the test binary's temporary HOME. */
class ProcessorTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        clearTestUserFiles();
        processor = makeProcessor();
    }

    static std::unique_ptr<QuorvelAudioProcessor> makeProcessor()
    {
        return std::unique_ptr<QuorvelAudioProcessor>(
            dynamic_cast<QuorvelAudioProcessor*>(createPluginFilter()));
    }

    torvaLib::PluginParameter& param(int index) { return *processor->params.getUnchecked(index); }

    juce::MemoryBlock saveState()
    {
        juce::MemoryBlock block;
        processor->getStateInformation(block);
        return block;
    }

    static std::uint32_t bits(float value)
    {
        std::uint32_t b;
        std::memcpy(&b, &value, sizeof b);
        return b;
    }

    /** One audio block as the host renders it: the block start serves the pending requests. */
    void runBlock(const juce::MidiBuffer& midi = {}, int numSamples = 64)
    {
        if (!prepared)
            processor->prepareToPlay(44100.0, numSamples);
        prepared = true;
        juce::AudioBuffer<float> audio(2, numSamples);
        audio.clear();
        auto events = midi;
        processor->processBlock(audio, events);
    }

    std::unique_ptr<QuorvelAudioProcessor> processor;
    bool prepared = false;
};
