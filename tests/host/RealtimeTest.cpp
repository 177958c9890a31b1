// Real-time safety: once running, processing without MIDI allocates nothing on the audio thread, also
// while the host automates parameters.
#include "AllocationCounter.h"
#include "HostFixture.h"

using RealtimeTest = HostTest;

TEST_P(RealtimeTest, ProcessingWithoutMidiAllocatesNothingOnTheAudioThread)
{
    ASSERT_TRUE(AllocationCounter::seesThePlugInsAllocations());

    // JUCE 7.0.5's VST3 wrapper copies its input bus's channel map, a vector, on every block: that one
    // allocation per block is the framework's own. Anything beyond it would be ours.
    const int frameworkAllocationsPerBlock = GetParam() == PluginFormat::vst3 ? 1 : 0;
    constexpr int numBlocks = 200;

    juce::Random random(3);
    const BeforeBlock automate = [&](int, int, juce::MidiBuffer&)
    {
        for (int k = 0; k < 8; ++k)
            parameters[(size_t)random.nextInt(numParameters)]->setValue(random.nextFloat());
    };

    for (int blockSize : {512, 64})
    {
        plugin->prepareToPlay(48000.0, blockSize);
        std::int64_t steady = -1, automated = -1;
        onAudioThread(
            [&]
            {
                // The first pass lets the loader set up the plug-in's thread-local storage on this thread,
                // as a host's first blocks do; the second one counts.
                for (auto* count : {(std::int64_t*)nullptr, &steady})
                    processNoise(*plugin, blockSize, numBlocks * blockSize, random, {}, count);
                for (auto* count : {(std::int64_t*)nullptr, &automated})
                    processNoise(*plugin, blockSize, numBlocks * blockSize, random, automate, count);
            });
        EXPECT_EQ(steady, numBlocks * frameworkAllocationsPerBlock) << "blocks of " << blockSize;
        EXPECT_EQ(automated, numBlocks * frameworkAllocationsPerBlock)
            << "blocks of " << blockSize << ", automated";
    }
}

INSTANTIATE_FOR_BOTH_FORMATS(RealtimeTest);
