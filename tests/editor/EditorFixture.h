#pragma once

#include "ProcessorFixture.h"
#include "editor/TWLookAndFeel.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <cstdlib>
#include <string>
#include <vector>

// What the host hears of edits, in order: "begin 3", "set 3 0.5", "end 3".
class HostEventLog : public juce::AudioProcessorListener
{
public:
    void audioProcessorParameterChanged(juce::AudioProcessor*, int index, float value) override
    {
        events.push_back("set " + std::to_string(index) + " " + juce::String(value).toStdString());
    }
    void audioProcessorChanged(juce::AudioProcessor*, const ChangeDetails&) override {}
    void audioProcessorParameterChangeGestureBegin(juce::AudioProcessor*, int index) override
    {
        events.push_back("begin " + std::to_string(index));
    }
    void audioProcessorParameterChangeGestureEnd(juce::AudioProcessor*, int index) override
    {
        events.push_back("end " + std::to_string(index));
    }

    // One whole gesture per value: begin, set, end.
    static std::vector<std::string> edit(int index, float value)
    {
        const auto i = std::to_string(index);
        return {"begin " + i, "set " + i + " " + juce::String(value).toStdString(), "end " + i};
    }

    std::vector<std::string> events;
};

// An editor control on a processor in the test binary's temporary HOME: a stand-in window with the
// editor's look installed, and a log of what the host hears.
class EditorControlTest : public ProcessorTest
{
protected:
    void SetUp() override
    {
        ProcessorTest::SetUp();
        window.setSize(920, 600);
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

    static juce::Image render(juce::Component& component)
    {
        return component.createComponentSnapshot(component.getLocalBounds(), true, 1.0f);
    }

    // Writes a rendering under the build folder so a person can look at it.
    static void writePng(const juce::Image& image, const juce::String& name)
    {
        const juce::File folder(QUORVEL_TEST_OUTPUT_DIR);
        folder.createDirectory();
        const auto file = folder.getChildFile(name);
        file.deleteFile();
        juce::FileOutputStream stream(file);
        ASSERT_TRUE(stream.openedOk());
        ASSERT_TRUE(juce::PNGImageFormat().writeImageToStream(image, stream));
    }

    static juce::MouseEvent mouseEvent(juce::Component& target, juce::Point<float> position,
                                       juce::ModifierKeys mods = juce::ModifierKeys::leftButtonModifier,
                                       int clicks = 1, juce::Point<float> downPosition = {})
    {
        const auto now = juce::Time::getCurrentTime();
        return juce::MouseEvent(
            juce::Desktop::getInstance().getMainMouseSource(), position, mods,
            juce::MouseInputSource::defaultPressure, juce::MouseInputSource::defaultOrientation,
            juce::MouseInputSource::defaultRotation, juce::MouseInputSource::defaultTiltX,
            juce::MouseInputSource::defaultTiltY, &target, &target, now, downPosition, now, clicks, false);
    }

    static juce::ModifierKeys altClick()
    {
        return juce::ModifierKeys(juce::ModifierKeys::altModifier | juce::ModifierKeys::leftButtonModifier);
    }
    static juce::ModifierKeys rightClick()
    {
        return juce::ModifierKeys(juce::ModifierKeys::rightButtonModifier);
    }

    vesk::TWLook look;
    juce::Component window;
    HostEventLog host;
};
