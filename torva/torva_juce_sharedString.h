#pragma once

#include <juce_core/juce_core.h>

namespace torvaLib
{

/** A text that the audio thread, the message thread and the host's state calls replace and read as a
    whole value. The lock only guards the swap or copy of one reference-counted pointer, so a writer on
    the audio thread waits at most for another thread's pointer copy, never for an allocation. */
class SharedString
{
public:
    SharedString() = default;
    explicit SharedString(juce::String initial) : text(std::move(initial)) {}

    void set(juce::String newText)
    {
        {
            const juce::SpinLock::ScopedLockType lock(mutex);
            text.swapWith(newText);
        }
        // The old text is released here, outside the lock.
    }

    juce::String get() const
    {
        const juce::SpinLock::ScopedLockType lock(mutex);
        return text;
    }

private:
    mutable juce::SpinLock mutex;
    juce::String text;

    JUCE_DECLARE_NON_COPYABLE(SharedString)
};

} // namespace torvaLib
