// The plug-in's window as a host shows it: opened, shown and closed again and again while the audio
// thread keeps processing.
#include "HostFixture.h"

#include <atomic>
#include <cstdlib>
#include <thread>

using EditorTest = HostTest;

TEST_P(EditorTest, OpensAndClosesTwentyTimesWhileProcessing)
{
    if (std::getenv("DISPLAY") == nullptr)
        GTEST_SKIP() << "needs a display: run under xvfb-run";

    constexpr int blockSize = 256;
    plugin->prepareToPlay(48000.0, blockSize);

    std::atomic<bool> running{true};
    std::atomic<int> blocks{0}, unclean{0};
    std::thread audio(
        [&]
        {
            juce::Random noise(4);
            while (running)
            {
                unclean += processNoise(*plugin, blockSize, blockSize, noise);
                ++blocks;
            }
        });

    auto* messages = juce::MessageManager::getInstance();
    for (int round = 0; round < 20; ++round)
    {
        std::unique_ptr<juce::AudioProcessorEditor> editor(plugin->createEditorIfNeeded());
        ASSERT_NE(editor, nullptr) << "round " << round;
        editor->addToDesktop(juce::ComponentPeer::windowHasTitleBar);
        editor->setVisible(true);
        messages->runDispatchLoopUntil(60);

        EXPECT_TRUE(editor->isShowing()) << "round " << round;
        EXPECT_GT(editor->getWidth(), 0);
        EXPECT_GT(editor->getHeight(), 0);

        // The framework's embedding component answers a window change of the plug-in's view with a
        // callback it posts for later and does not cancel when it is deleted (XEmbedComponent::Pimpl::
        // handleX11Event): let those run first, and delete the editor from a message posted after any
        // still waiting, so the queue runs them while it exists.
        editor->setVisible(false);
        messages->runDispatchLoopUntil(40);
        bool gone = false;
        juce::MessageManager::callAsync(
            [&gone, doomed = editor.release()]
            {
                delete doomed;
                gone = true;
            });
        while (!gone)
            messages->runDispatchLoopUntil(10);
    }

    running = false;
    audio.join();
    EXPECT_EQ(unclean.load(), 0);
    EXPECT_GT(blocks.load(), 20);
}

INSTANTIATE_FOR_BOTH_FORMATS(EditorTest);
