#pragma once

#include "HostEventLog.h"
#include "ProcessorFixture.h"
#include "editor/TWLookAndFeel.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <cstdlib>
#include <string>

// An editor control on a processor in the test binary's temporary HOME: a stand-in window with the
// editor's look installed, and a log of what the host hears.
class EditorControlTest : public ProcessorTest
{
protected:
    void SetUp() override
    {
        ProcessorTest::SetUp();
        look.install(window);
        processor->addListener(&host);
    }

    void TearDown() override
    {
        processor->removeListener(&host);
        look.remove(window);
    }

    // Places a control in the window and hands it the processor, as the editor does after building it.
    template <typename Control> Control& wire(Control& control)
    {
        window.addAndMakeVisible(control);
        control.processor = processor.get();
        return control;
    }

    void setNormalised(int index, float value) { processor->setParameter(index, value); }
    float normalised(int index) { return processor->getParameter(index); }

    // Colours read back from a rendering carry the rounding of premultiplied alpha.
    static bool near(juce::Colour actual, juce::Colour expected)
    {
        const auto close = [](int a, int b) { return std::abs(a - b) <= 6; };
        return close(actual.getAlpha(), expected.getAlpha()) && close(actual.getRed(), expected.getRed()) &&
               close(actual.getGreen(), expected.getGreen()) && close(actual.getBlue(), expected.getBlue());
    }

    static juce::Image render(juce::Component& component, float scale = 1.0f)
    {
        return component.createComponentSnapshot(component.getLocalBounds(), true, scale);
    }

    static int countDifferences(const juce::Image& a, const juce::Image& b)
    {
        int differences = 0;
        for (int y = 0; y < a.getHeight(); ++y)
            for (int x = 0; x < a.getWidth(); ++x)
                differences += a.getPixelAt(x, y) != b.getPixelAt(x, y) ? 1 : 0;
        return differences;
    }

    // Writes a rendering under the build folder so a person can look at it.
    static void writePng(const juce::Image& image, const juce::String& name)
    {
        const auto file = juce::File(QUORVEL_TEST_OUTPUT_DIR).getChildFile(name);
        file.getParentDirectory().createDirectory();
        file.deleteFile();
        juce::FileOutputStream stream(file);
        ASSERT_TRUE(juce::PNGImageFormat().writeImageToStream(image, stream));
    }

    static juce::MouseEvent mouseEvent(juce::Component& target, juce::Point<float> position,
                                       juce::ModifierKeys mods = juce::ModifierKeys::leftButtonModifier,
                                       int clicks = 1, juce::Point<float> downPosition = {})
    {
        const auto now = juce::Time::getCurrentTime();
        return juce::MouseEvent(juce::Desktop::getInstance().getMainMouseSource(), position, mods, 1.0f, 0.0f,
                                0.0f, 0.0f, 0.0f, &target, &target, now, downPosition, now, clicks, false);
    }

    static juce::MouseEvent doubleClick(juce::Component& target) { return mouseEvent(target, {}, {}, 2); }

    vesk::TWLook look;
    juce::Component window;
    HostEventLog host;
};
