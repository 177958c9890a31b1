// A real drag in a window: the display's pointer picks up a chip and drops it on a target.
#include "EditorFixture.h"
#include "editor/ModSourceComponent.h"
#include "editor/ModTargetComponent.h"

#include <dlfcn.h>

namespace juce
{
// One step of the framework's message loop on Linux: handles whatever is pending, X events included.
bool dispatchNextMessageOnSystemQueue(bool returnIfNoPendingMessages);
} // namespace juce

namespace
{
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
void runMessages(int milliseconds)
{
    const auto end = juce::Time::getMillisecondCounter() + static_cast<juce::uint32>(milliseconds);
    while (juce::Time::getMillisecondCounter() < end)
        if (!juce::dispatchNextMessageOnSystemQueue(true))
            juce::Thread::sleep(2);
}

// The drag container with a chip and a target, as the editor window holds them.
struct DragWindow : juce::Component, juce::DragAndDropContainer
{
    DragWindow()
    {
        chip.setName("Src_Lfo3");
        addAndMakeVisible(chip);
        addAndMakeVisible(target);
        chip.setBounds(20, 20, 145, 20);
        target.setBounds(20, 120, 145, 20);
        setSize(200, 170);
    }

    void paint(juce::Graphics& g) override { g.fillAll(juce::Colours::black); }

    ModSourceComponent chip{"LFO 3"};
    ModTargetComponent target{96}; // LFO1_RateModSrc
};
} // namespace

using RealDragTest = EditorControlTest;

TEST_F(RealDragTest, DraggingAChipOntoATargetLightsItAndSelectsTheChipsSource)
{
    TestDisplay display;
    if (!display.available())
        GTEST_SKIP() << "needs an X display with the XTest extension (run under xvfb-run)";

    DragWindow dragWindow;
    dragWindow.target.processor = processor.get();
    dragWindow.setTopLeftPosition(300, 300);
    dragWindow.addToDesktop(0);
    dragWindow.setVisible(true);
    runMessages(300);
    ASSERT_TRUE(dragWindow.isShowing());

    const auto from = dragWindow.chip.getScreenBounds().getCentre();
    const auto to = dragWindow.target.getScreenBounds().getCentre();
    display.movePointer(from);
    runMessages(100);
    display.pressButton(true);
    for (int step = 0; step <= 10; ++step)
    {
        display.movePointer(from + (to - from) * step / 10);
        runMessages(30);
    }
    runMessages(100);
    EXPECT_TRUE(dragWindow.isDragAndDropActive());
    EXPECT_EQ(dragWindow.target.backgroundColour, juce::Colour(0x80d02aff));

    display.pressButton(false);
    runMessages(300);
    EXPECT_EQ(dragWindow.target.backgroundColour, juce::Colour(0x40aeaeae));
    EXPECT_EQ(host.events, HostEventLog::edit(96, 10.0f / 17.0f));
}
