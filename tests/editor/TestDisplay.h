#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <dlfcn.h>

namespace juce
{
// One step of the framework's message loop on Linux: handles whatever is pending, X events included.
bool dispatchNextMessageOnSystemQueue(bool returnIfNoPendingMessages);
} // namespace juce

// The X display the test runs on, reached as the framework reaches it: libX11 and the XTest extension
// loaded at run time. It installs a harmless X error handler: without a window manager the framework
// sets window properties with atoms that do not exist, Xlib's default handler would end the process on
// the BadAtom error, and the framework installs its own handler only in stand-alone programs.
class TestDisplay
{
public:
    TestDisplay()
    {
        libraries[0] = dlopen("libX11.so.6", RTLD_NOW | RTLD_LOCAL);
        libraries[1] = dlopen("libXtst.so.6", RTLD_NOW | RTLD_LOCAL);
        const std::pair<const char*, void**> functions[] = {{"XOpenDisplay", (void**)&openDisplay},
                                                            {"XCloseDisplay", (void**)&closeDisplay},
                                                            {"XFlush", (void**)&flush},
                                                            {"XSetErrorHandler", (void**)&setErrorHandler},
                                                            {"XTestFakeMotionEvent", (void**)&fakeMotion},
                                                            {"XTestFakeButtonEvent", (void**)&fakeButton}};
        for (const auto& [name, function] : functions)
            for (auto* library : libraries)
                if (library != nullptr && *function == nullptr)
                    *function = dlsym(library, name);

        for (const auto& function : functions)
            if (*function.second == nullptr)
                return;
        display = openDisplay(nullptr);
        if (display != nullptr)
            previousHandler = setErrorHandler([](void*, void*) { return 0; });
    }

    ~TestDisplay()
    {
        if (display != nullptr)
        {
            setErrorHandler(previousHandler);
            closeDisplay(display);
        }
        for (auto* library : libraries)
            if (library != nullptr)
                dlclose(library);
    }

    bool available() const { return display != nullptr; }

    void movePointer(juce::Point<int> screenPosition)
    {
        fakeMotion(display, -1, screenPosition.x, screenPosition.y, 0);
        flush(display);
    }

    void pressButton(bool down)
    {
        fakeButton(display, 1, down ? 1 : 0, 0);
        flush(display);
    }

    // Moves the pointer in ten even steps, giving the window time to follow each one.
    void glide(juce::Point<int> from, juce::Point<int> to);

    // Presses and releases the button at one point.
    void click(juce::Point<int> at);

private:
    using ErrorHandler = int (*)(void*, void*);
    void* libraries[2] = {};
    void* display = nullptr;
    ErrorHandler previousHandler = nullptr;
    void* (*openDisplay)(const char*) = nullptr;
    int (*closeDisplay)(void*) = nullptr;
    int (*flush)(void*) = nullptr;
    ErrorHandler (*setErrorHandler)(ErrorHandler) = nullptr;
    int (*fakeMotion)(void*, int, int, int, unsigned long) = nullptr;
    int (*fakeButton)(void*, unsigned int, int, unsigned long) = nullptr;
};

// Runs the message loop for a while, so the window sees the pointer's events.
inline void runMessages(int milliseconds)
{
    const auto end = juce::Time::getMillisecondCounter() + static_cast<juce::uint32>(milliseconds);
    while (juce::Time::getMillisecondCounter() < end)
        if (!juce::dispatchNextMessageOnSystemQueue(true))
            juce::Thread::sleep(2);
}

inline void TestDisplay::glide(juce::Point<int> from, juce::Point<int> to)
{
    for (int step = 0; step <= 10; ++step)
    {
        movePointer(from + (to - from) * step / 10);
        runMessages(30);
    }
}

inline void TestDisplay::click(juce::Point<int> at)
{
    movePointer(at);
    runMessages(100);
    pressButton(true);
    runMessages(50);
    pressButton(false);
    runMessages(100);
}
