#pragma once

#include "plugin/PluginProcessor.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

juce::AudioProcessor* JUCE_CALLTYPE createPluginFilter();

/** A processor created the way a host creates it, in the test binary's temporary HOME. */
class ProcessorTest : public ::testing::Test
{
protected:
    void SetUp() override { processor = makeProcessor(); }

    static std::unique_ptr<QuorvelAudioProcessor> makeProcessor()
    {
        return std::unique_ptr<QuorvelAudioProcessor>(dynamic_cast<QuorvelAudioProcessor*>(createPluginFilter()));
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

    std::unique_ptr<QuorvelAudioProcessor> processor;
};
