#pragma once

#include "plugin/PluginProcessor.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <future>
#include <memory>
#include <string>
#include <thread>
#include <vector>

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

/** Runs call on a thread of its own and returns its result, failing the test if it has not returned within a
    generous limit: a call that hangs must fail the run, not stall it. A hung thread cannot be stopped and
    still uses what the test owns, so the run ends there. */
template <typename Call>
auto finishesInTime(const char* what, Call call, std::chrono::milliseconds limit = std::chrono::seconds(10))
{
    std::packaged_task<decltype(call())()> task(std::move(call));
    auto result = task.get_future();
    std::thread worker(std::move(task));
    if (result.wait_for(limit) != std::future_status::ready)
    {
        ADD_FAILURE() << what << " has not finished within " << limit.count() << " ms";
        std::fflush(stdout);
        std::_Exit(1);
    }
    worker.join();
    return result.get();
}

/** Documents with the root element tag and the given attributes on which the framework's XML parser loops
    for ever, reads past the end of its text or recurses until the stack runs out, and sound ones over
    which it takes a second or more: so many distinct names (400,000 attributes, or as many empty child
    elements), or 32,000 references that never end in 64 KB. */
inline std::vector<std::string> damagedXmlTexts(const std::string& tag, const std::string& attributes)
{
    const auto open = "<" + tag + " " + attributes + ">";
    const auto close = "</" + tag + ">";
    const auto named = [&](const std::string& name)
    { return "<" + tag + " PresetName=\"" + name + "\" " + attributes + "/>"; };

    std::string nested;
    for (int i = 0; i < 200000; ++i)
        nested += "<a>";

    std::string crowdedAttributes, crowdedChildren;
    for (int i = 0; i < 400000; ++i)
    {
        const auto name = "a" + std::to_string(i);
        crowdedAttributes += " " + name + "=\"1\"";
        crowdedChildren += "<" + name + "/>";
    }
    std::string references;
    for (int i = 0; i < 32000; ++i)
        references += "a&";

    return {
        open + "<?a?>b" + close, // a processing instruction before text
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>" + open + "<?a?> b" + close,
        "<" + tag + ">\xff>", // a lead byte of no sequence
        named("\xe2\x82"),    // sequences cut short
        named("ok\xf0\x9f\x8e"),
        named("\xc0\xbc"), // overlong forms of '<'
        named("\xe0\x80\xbc"),
        named("\xed\xa0\x80"),                                // a surrogate
        named("\xf4\x90\x80\x80"),                            // beyond U+10FFFF
        named("\x80\xbf"),                                    // continuations without a lead
        "<!DOCTYPE r [<!ENTITY x \"&.x;\">]>" + named("&x;"), // an entity that expands into itself
        open + nested + close,
        "<" + tag + crowdedAttributes + "/>",
        open + crowdedChildren + close,
        open + references + close,
    };
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
