// Threads as a host runs them: while the audio thread processes, a second thread moves parameters and the
// message thread saves and restores the state, for a bounded time.
#include "HostFixture.h"

#include <atomic>
#include <chrono>
#include <thread>

using ThreadTest = HostTest;

TEST_P(ThreadTest, ParametersAndStateChangeWhileTheAudioThreadProcesses)
{
    constexpr int blockSize = 256;
    plugin->prepareToPlay(48000.0, blockSize);

    juce::Random random(9);
    juce::MemoryBlock states[2];
    for (auto& state : states)
    {
        setRandomPatch(random);
        processSilence(*plugin);
        state = hostState();
    }

    std::atomic<bool> running{true};
    std::atomic<int> blocks{0}, unclean{0};
    std::thread audio(
        [&]
        {
            juce::Random noise(1);
            while (running)
            {
                {
                    // LV2 forbids restoring during run(); JUCE's LV2 host waits for this lock, VST3's not.
                    const juce::ScopedLock lock(plugin->getCallbackLock());
                    unclean += processNoise(*plugin, blockSize, blockSize, noise);
                }
                ++blocks;
                std::this_thread::sleep_for(std::chrono::microseconds(20)); // the rest of a device's period
            }
        });
    std::thread automation(
        [&]
        {
            juce::Random values(2);
            while (running)
            {
                parameters[(size_t)values.nextInt(numParameters)]->setValue(values.nextFloat());
                std::this_thread::sleep_for(std::chrono::microseconds(50));
            }
        });

    // At least 1.5 s, and longer on a loaded machine until each thread has done enough to overlap the others.
    int stateCalls = 0;
    const auto start = std::chrono::steady_clock::now();
    const auto elapsed = [&] { return std::chrono::steady_clock::now() - start; };
    while (elapsed() < std::chrono::seconds(30) &&
           (elapsed() < std::chrono::milliseconds(1500) || blocks <= 100 || stateCalls <= 20))
    {
        const auto& state = states[stateCalls % 2];
        plugin->setStateInformation(state.getData(), (int)state.getSize());
        EXPECT_NE(patchOf(*host, *plugin), nullptr);
        juce::MessageManager::getInstance()->runDispatchLoopUntil(2);
        ++stateCalls;
    }

    running = false;
    audio.join();
    automation.join();
    EXPECT_EQ(unclean.load(), 0);
    EXPECT_GT(blocks.load(), 100);
    EXPECT_GT(stateCalls, 20);
}

INSTANTIATE_FOR_BOTH_FORMATS(ThreadTest);
