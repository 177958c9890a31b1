#pragma once

#include "EditorFixture.h"

#include <juce_gui_basics/juce_gui_basics.h>

namespace juce
{
// The framework's own step of its message loop on Linux: handles whatever is pending.
bool dispatchNextMessageOnSystemQueue(bool returnIfNoPendingMessages);
} // namespace juce

// A module panel in the stand-in window, wired as the editor wires it, with the framework's pending
// messages run on request: clicks and combo-box picks reach their listeners through the message loop.
class ModulePanelTest : public EditorControlTest
{
protected:
    template <typename Panel> Panel& place(Panel& panel)
    {
        window.addAndMakeVisible(panel);
        panel.setProcessor(processor.get());
        return panel;
    }

    static void runPendingMessages()
    {
        for (int i = 0; i < 100 && juce::dispatchNextMessageOnSystemQueue(true); ++i)
        {
        }
    }

    // One whole gesture on the parameter and the two message lines naming it.
    void expectEdit(int index, float value, const juce::String& name, const juce::String& valueText)
    {
        EXPECT_EQ(host.events, HostEventLog::edit(index, value));
        EXPECT_EQ(bits(normalised(index)), bits(value));
        EXPECT_EQ(processor->messageName.get(), name);
        EXPECT_EQ(processor->messageValue.get(), valueText);
        EXPECT_TRUE(processor->newMessage);
    }

    // Nothing reached the host, the message lines or the learn marks.
    void expectNothingWritten()
    {
        EXPECT_TRUE(host.events.empty());
        EXPECT_FALSE(processor->newMessage);
        for (int i = 0; i < 132; ++i)
            EXPECT_FALSE(param(i).learnArmed) << i;
    }

    void forgetEdits()
    {
        host.events.clear();
        processor->newMessage = false;
    }
};
