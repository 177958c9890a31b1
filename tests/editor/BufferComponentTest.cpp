// The buffer panel: its bindings and colours, and renderings of it and of a matrix row.
#include "editor/BufferComponent.h"
#include "EditorFixture.h"
#include "editor/ModLabelComponent.h"

namespace
{
const juce::Colour blue(0xff308bff), green(0xff0be067);

// The parameters of the knobs and then of the slots, the chip's name and the knobs' arc colour.
juce::String bindingsOf(BufferComponent& panel)
{
    juce::String text;
    for (auto* knob : {panel.sizeKnob.get(), panel.repeatsKnob.get(), panel.ratioKnob.get()})
        text << knob->paramIndex << " ";
    for (int index :
         {panel.sizeTarget->paramIndex, panel.sizeDepth->paramIndex, panel.repeatsTarget->paramIndex,
          panel.repeatsDepth->paramIndex, panel.ratioTarget->paramIndex, panel.ratioDepth->paramIndex})
        text << index << " ";
    return text + panel.sourceChip->getName() + " " +
           panel.ratioKnob->slider->findColour(juce::Slider::rotarySliderFillColourId).toDisplayString(true);
}

// Wires a panel as the editor does and refreshes it as the editor's timer does.
void wireAndRefresh(BufferComponent& panel, QuorvelAudioProcessor* processor)
{
    panel.processor = processor;
    for (auto* knob : {panel.sizeKnob.get(), panel.repeatsKnob.get(), panel.ratioKnob.get()})
    {
        knob->processor = processor;
        knob->updateFromPlugin();
    }
    for (auto [target, depth] : {std::pair(panel.sizeTarget.get(), panel.sizeDepth.get()),
                                 std::pair(panel.repeatsTarget.get(), panel.repeatsDepth.get()),
                                 std::pair(panel.ratioTarget.get(), panel.ratioDepth.get())})
    {
        target->processor = depth->processor = processor;
        target->updateFromPlugin();
        depth->updateFromPlugin();
    }
}
} // namespace

using BufferPanelTest = EditorControlTest;

TEST_F(BufferPanelTest, ModuleOneBuildsBufferOneInBlueAndAnyOtherNumberBufferTwoInGreen)
{
    BufferComponent first(1, "BUFFER 1");
    EXPECT_EQ(bindingsOf(first), "0 1 2 56 57 58 59 60 61 Src_Buffer1 FF308BFF");
    EXPECT_EQ(first.sizeKnob->knobColour, juce::Colour());
    for (int number : {2, 0, 7})
    {
        BufferComponent second(number, "BUFFER 2");
        EXPECT_EQ(bindingsOf(second), "3 4 5 62 63 64 65 66 67 Src_Buffer2 FF0BE067");
        EXPECT_EQ(second.sizeKnob->knobColour, green);
    }
}

TEST_F(BufferPanelTest, RendersBothPanelsWithBufferOnesChipDroppedOnBufferTwo)
{
    BufferComponent first(1, "BUFFER 1"), second(2, "BUFFER 2");
    juce::Component page;
    page.addAndMakeVisible(first);
    page.addAndMakeVisible(second);
    second.setTopLeftPosition(0, 130);
    page.setSize(230, 260);
    window.addAndMakeVisible(page);

    wireAndRefresh(first, processor.get());
    second.sizeTarget->processor = processor.get();
    second.sizeTarget->itemDropped({"Mod Source", first.sourceChip.get(), {5, 5}});
    EXPECT_EQ(bits(normalised(62)), bits(2.0f / 17.0f));

    setNormalised(0, 0.7f);
    setNormalised(3, 0.7f);
    setNormalised(61, 0.375f);
    wireAndRefresh(first, processor.get());
    wireAndRefresh(second, processor.get());
    EXPECT_EQ(second.sizeTarget->text, "BUFFER 1");

    const auto image = render(page, 2.0f);
    writePng(image, "buffer-panels.png");
    // Each Size dial's arc at nine o'clock, 13 pixels left of its centre (at twice the size).
    for (auto [panel, colour] : {std::pair(&first, blue), std::pair(&second, green)})
    {
        const auto centre = panel->sizeKnob->slider->getScreenBounds().getCentre() - page.getScreenPosition();
        EXPECT_TRUE(near(image.getPixelAt((centre.x - 13) * 2, centre.y * 2), colour));
    }
}

TEST_F(BufferPanelTest, RendersAMatrixRowAt16PixelsHigh)
{
    struct Row : juce::Component
    {
        void paint(juce::Graphics& g) override { g.fillAll(juce::Colours::black); }
        ModTargetComponent target{70};
        ModDepthComponent depth{71};
        ModLabelComponent label{"FILTER 1 CUTOFF"};
    } row;
    for (auto [child, x, width] : {std::tuple<juce::Component*, int, int>(&row.target, 5, 120),
                                   {&row.depth, 125, 74},
                                   {&row.label, 198, 120}})
    {
        row.addAndMakeVisible(child);
        child->setBounds(x, 5, width, 16);
    }
    row.label.label->setColour(juce::Label::textColourId, juce::Colour(0xff0069fe));
    row.setSize(323, 26);
    window.addAndMakeVisible(row);
    row.target.processor = row.depth.processor = processor.get();
    setNormalised(70, 9.0f / 17.0f);
    setNormalised(71, 0.5f);
    row.target.updateFromPlugin();
    row.depth.updateFromPlugin();

    writePng(render(row, 3.0f), "matrix-row.png");
    EXPECT_EQ(row.target.text + " " + row.depth.label->getText(), "LFO 2 50.00 %");
}
