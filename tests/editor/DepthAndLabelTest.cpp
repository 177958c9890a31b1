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

TEST_F(DepthTest, ShowsNothingUntilTheFirstRefreshThenTheValueTextWithoutWritingBack)
{
    ModDepthComponent depth(buffer1SizeModDepth);
    wire(depth);
    EXPECT_EQ(depth.getName(), "Mod Depth Component");
    EXPECT_EQ(depth.label->getText(), "");
    EXPECT_FALSE(depth.label->isEditableOnSingleClick() || depth.label->isEditableOnDoubleClick());

    setNormalised(buffer1SizeModDepth, 0.375f);
    host.events.clear();
    depth.updateFromPlugin();
    EXPECT_EQ(depth.label->getText(), "37.50 %");
    EXPECT_DOUBLE_EQ(depth.slider->getValue(), 0.375);
    EXPECT_TRUE(host.events.empty());
    EXPECT_FALSE(processor->newMessage);
}

TEST_F(DepthTest, DoubleClickReturnsADepthTo0AndAnInputLevelTo100Percent)
{
    for (const auto& [index, expected] :
         {std::pair(buffer1SizeModDepth, 0.0f), std::pair(dryWetInputLevel, 1.0f)})
    {
        ModDepthComponent depth(index);
        wire(depth);
        setNormalised(index, 0.5f);
        depth.updateFromPlugin();
        host.events.clear();

        depth.slider->mouseDoubleClick(mouseEvent(*depth.slider, {10.0f, 10.0f}, {}, 2));
        EXPECT_EQ(host.events, HostEventLog::edit(index, expected));
        depth.updateFromPlugin();
        EXPECT_EQ(depth.label->getText(), expected == 0.0f ? "0.00 %" : "100.00 %");
    }
}

TEST_F(DepthTest, EveryStepOfAnUpwardDragIsOneWholeEdit)
{
    ModDepthComponent depth(buffer1SizeModDepth);
    wire(depth);
    depth.setBounds(0, 0, 50, 20);
    depth.updateFromPlugin();

    depth.slider->mouseDown(
        mouseEvent(*depth.slider, {25.0f, 10.0f}, juce::ModifierKeys::leftButtonModifier, 1, {25.0f, 10.0f}));
    for (float y : {9.0f, 8.0f, 7.0f})
        depth.slider->mouseDrag(
            mouseEvent(*depth.slider, {25.0f, y}, juce::ModifierKeys::leftButtonModifier, 1, {25.0f, 10.0f}));

    // 250 pixels span the range: one pixel is 0.004.
    std::vector<std::string> expected;
    for (float value : {0.004f, 0.008f, 0.012f})
    {
        const auto edit = HostEventLog::edit(buffer1SizeModDepth, value);
        expected.insert(expected.end(), edit.begin(), edit.end());
    }
    EXPECT_EQ(host.events, expected);
    EXPECT_EQ(processor->messageName.get(), "MODULATION DEPTH");
}

TEST_F(DepthTest, TextFollowsTheHeightAt14PixelsPer20AndIgnoresAZeroHeight)
{
    ModSourceComponent chip("INPUT");
    ModTargetComponent target(56);
    ModDepthComponent depth(57);
    ModLabelComponent label("BUFFER 1 SIZE");
    EXPECT_EQ(label.label->getText(), "BUFFER 1 SIZE");
    EXPECT_EQ(label.getName(), "Mod Label Component");

    const auto scaled = 14.0f * (16.0f / 20.0f);
    chip.setSize(138, 16);
    target.setSize(120, 16);
    depth.setSize(74, 16);
    label.setSize(120, 16);
    EXPECT_EQ(bits(chip.font.getHeight()), bits(scaled));
    EXPECT_EQ(bits(target.font.getHeight()), bits(scaled));
    EXPECT_EQ(bits(depth.label->getFont().getHeight()), bits(scaled));
    EXPECT_EQ(bits(label.label->getFont().getHeight()), bits(scaled));

    // Collapsed and restored: nothing is divided by a zero height and the text comes back at 14 px.
    for (juce::Component* control : std::initializer_list<juce::Component*>{&chip, &target, &depth, &label})
    {
        control->setSize(control->getWidth(), 0);
        control->setSize(control->getWidth(), 20);
    }
    EXPECT_FLOAT_EQ(chip.font.getHeight(), 14.0f);
    EXPECT_FLOAT_EQ(target.font.getHeight(), 14.0f);
    EXPECT_FLOAT_EQ(depth.font.getHeight(), 14.0f);
    EXPECT_FLOAT_EQ(label.font.getHeight(), 14.0f);
    EXPECT_FLOAT_EQ(label.lastHeight, 20.0f);
}
