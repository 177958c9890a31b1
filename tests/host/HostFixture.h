#pragma once

#include "HostedPlugin.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

/** A test run once per format, with the built plug-in loaded as a host loads it. */
class HostTest : public ::testing::TestWithParam<PluginFormat>
{
protected:
    static constexpr int numParameters = 132;

    void SetUp() override
    {
        host = std::make_unique<HostedPlugin>(GetParam());
        plugin = host->load();
        ASSERT_NE(plugin, nullptr);
        plugin->prepareToPlay(44100.0, 512);

        // The plug-in's identifiers in index order, as it stores them, and the host's parameter of each.
        const auto stored = patch();
        ASSERT_NE(stored, nullptr);
        identifiers = patchIdentifiers(*stored);
        ASSERT_EQ(identifiers.size(), numParameters);
        for (const auto& identifier : identifiers)
        {
            juce::AudioProcessorParameter* found = nullptr;
            for (auto* parameter : plugin->getParameters())
                if (parameter->getName(1024) == identifier)
                    found = parameter;
            ASSERT_NE(found, nullptr) << "no host parameter named " << identifier;
            parameters.push_back(found);
        }
    }

    void TearDown() override
    {
        plugin.reset();
        host.reset();
    }

    juce::MemoryBlock hostState() { return hostStateOf(*plugin); }

    static juce::MemoryBlock hostStateOf(juce::AudioPluginInstance& instance)
    {
        juce::MemoryBlock state;
        instance.getStateInformation(state);
        return state;
    }

    std::unique_ptr<juce::XmlElement> patch() { return patchOf(*host, *plugin); }

    /** Hands a plug-in state blob to the instance through the host's own state call. */
    void restorePluginState(juce::AudioPluginInstance& instance, const juce::MemoryBlock& blob)
    {
        const auto wrapped = host->hostStateWith(hostStateOf(instance), blob);
        ASSERT_FALSE(wrapped.isEmpty());
        instance.setStateInformation(wrapped.getData(), (int)wrapped.getSize());
    }

    /** Processes silent blocks, so that whatever the host queued reaches the plug-in and back. */
    void processSilence(juce::AudioPluginInstance& instance, int numBlocks = 2, int blockSize = 64)
    {
        onAudioThread(
            [&]
            {
                juce::AudioBuffer<float> buffer(2, blockSize);
                juce::MidiBuffer midi;
                for (int b = 0; b < numBlocks; ++b)
                {
                    buffer.clear();
                    instance.processBlock(buffer, midi);
                }
            });
    }

    /** Sets every one of the 132 parameters through the host to a random value. */
    void setRandomPatch(juce::Random& random)
    {
        for (auto* parameter : parameters)
            parameter->setValue(random.nextFloat());
    }

    static std::uint32_t bits(float value)
    {
        std::uint32_t b;
        std::memcpy(&b, &value, sizeof b);
        return b;
    }

    std::unique_ptr<HostedPlugin> host;
    std::unique_ptr<juce::AudioPluginInstance> plugin;
    juce::StringArray identifiers;
    std::vector<juce::AudioProcessorParameter*> parameters; // index = the plug-in's parameter index
};

#define INSTANTIATE_FOR_BOTH_FORMATS(suite)                                                                  \
    INSTANTIATE_TEST_SUITE_P(Formats, suite, ::testing::Values(PluginFormat::vst3, PluginFormat::lv2),       \
                             [](const auto& format) { return formatName(format.param); })
