// Depth fields and row labels, and the font-scaling rule shared by every slot control.
#include "EditorFixture.h"
#include "editor/ModDepthComponent.h"
#include "editor/ModLabelComponent.h"
#include "editor/ModSourceComponent.h"
#include "editor/ModTargetComponent.h"

namespace
{
constexpr int buffer1SizeModDepth = 57, dryWetInputLevel = 131;
}

using DepthTest = EditorControlTest;

TEST_F(DepthTest, DoubleClickReturnsADepthTo0AndAnInputLevelTo100PercentAfterTheFirstRefresh)
{
    for (const auto& [index, expected, text] :
         {std::tuple(buffer1SizeModDepth, 0.0f, "0.00 %"), std::tuple(dryWetInputLevel, 1.0f, "100.00 %")})
    {
        ModDepthComponent depth(index);
        wire(depth);
        setNormalised(index, 0.375f);
        depth.slider->mouseDoubleClick(doubleClick(*depth.slider));
        EXPECT_EQ(depth.label->getText(), "");

        host.events.clear();
        processor->newMessage = false;
        depth.updateFromPlugin();
        EXPECT_EQ(depth.label->getText(), "37.50 %");
        EXPECT_EQ(host.events, "");
        EXPECT_FALSE(processor->newMessage);

        depth.slider->mouseDoubleClick(doubleClick(*depth.slider));
        EXPECT_EQ(host.events, HostEventLog::edit(index, expected));
        depth.updateFromPlugin();
        EXPECT_EQ(depth.label->getText(), text);
    }
}

TEST_F(DepthTest, EveryStepOfAnUpwardDragIsOneWholeEdit)
{
    ModDepthComponent depth(buffer1SizeModDepth);
    wire(depth).updateFromPlugin();
    const juce::Point<float> start(25.0f, 10.0f);
    depth.slider->mouseDown(
        mouseEvent(*depth.slider, start, juce::ModifierKeys::leftButtonModifier, 1, start));
    for (float y : {9.0f, 8.0f, 7.0f})
        depth.slider->mouseDrag(
            mouseEvent(*depth.slider, {25.0f, y}, juce::ModifierKeys::leftButtonModifier, 1, start));

    // 250 pixels span the range: one pixel is 0.004.
    EXPECT_EQ(host.events, HostEventLog::edit(buffer1SizeModDepth, 0.004f) +
                               HostEventLog::edit(buffer1SizeModDepth, 0.008f) +
                               HostEventLog::edit(buffer1SizeModDepth, 0.012f));
    EXPECT_EQ(processor->messageName.get(), "MODULATION DEPTH");
}

TEST_F(DepthTest, TextFollowsTheHeightAt14PixelsPer20AndIgnoresAZeroHeight)
{
    ModSourceComponent chip("INPUT");
    ModTargetComponent target(56);
    ModDepthComponent depth(57);
    ModLabelComponent label("BUFFER 1 SIZE");
    const auto heights = [&]
    {
        return std::vector<float>{chip.font.getHeight(), target.font.getHeight(),
                                  depth.label->getFont().getHeight(), label.label->getFont().getHeight()};
    };

    for (juce::Component* control : std::initializer_list<juce::Component*>{&chip, &target, &depth, &label})
        control->setSize(control->getWidth(), 16);
    EXPECT_EQ(heights(), std::vector<float>(4, 14.0f * (16.0f / 20.0f)));

    // Collapsed and restored: nothing divides by a zero height and the text comes back at 14 px.
    for (juce::Component* control : std::initializer_list<juce::Component*>{&chip, &target, &depth, &label})
    {
        control->setSize(control->getWidth(), 0);
        control->setSize(control->getWidth(), 20);
    }
    for (float height : heights())
        EXPECT_FLOAT_EQ(height, 14.0f);
}
