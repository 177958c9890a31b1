// The buffer panel: its bindings, colours and fixed layout, and renderings of it and of a matrix row.
#include "editor/BufferComponent.h"
#include "EditorFixture.h"
#include "editor/ModLabelComponent.h"

namespace
{
struct Bindings
{
    int knobs[3];
    int slots[6];
    const char* chipName;
    juce::Colour arc;
};

const Bindings buffer1{{0, 1, 2}, {56, 57, 58, 59, 60, 61}, "Src_Buffer1", juce::Colour(0xff308bff)};
const Bindings buffer2{{3, 4, 5}, {62, 63, 64, 65, 66, 67}, "Src_Buffer2", juce::Colour(0xff0be067)};

void expectBindings(const BufferComponent& panel, const Bindings& expected)
{
    const FloatParameterKnob* knobs[] = {panel.sizeKnob.get(), panel.repeatsKnob.get(),
                                         panel.ratioKnob.get()};
    for (int i = 0; i < 3; ++i)
    {
        EXPECT_EQ(knobs[i]->paramIndex, expected.knobs[i]);
        EXPECT_EQ(knobs[i]->slider->findColour(juce::Slider::rotarySliderFillColourId), expected.arc);
    }
    const int slots[] = {panel.sizeTarget->paramIndex,    panel.sizeDepth->paramIndex,
                         panel.repeatsTarget->paramIndex, panel.repeatsDepth->paramIndex,
                         panel.ratioTarget->paramIndex,   panel.ratioDepth->paramIndex};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(slots[i], expected.slots[i]);
    EXPECT_EQ(panel.sourceChip->getName(), expected.chipName);
}

// The module page's two buffer panels, one above the other, each wired as the editor wires them.
struct BufferPanels : juce::Component
{
    BufferPanels()
    {
        addAndMakeVisible(first);
        addAndMakeVisible(second);
        first.setTopLeftPosition(0, 0);
        second.setTopLeftPosition(0, 130);
        setSize(230, 260);
    }

    void wire(QuorvelAudioProcessor* processor)
    {
        for (auto* panel : {&first, &second})
        {
            panel->processor = processor;
            for (auto* knob : {panel->sizeKnob.get(), panel->repeatsKnob.get(), panel->ratioKnob.get()})
                knob->processor = processor;
            for (auto* target :
                 {panel->sizeTarget.get(), panel->repeatsTarget.get(), panel->ratioTarget.get()})
                target->processor = processor;
            for (auto* depth : {panel->sizeDepth.get(), panel->repeatsDepth.get(), panel->ratioDepth.get()})
                depth->processor = processor;
        }
    }

    // What the editor's timer does for the buffer panels while the module page shows.
    void refresh()
    {
        for (auto* panel : {&first, &second})
        {
            for (auto* knob : {panel->sizeKnob.get(), panel->repeatsKnob.get(), panel->ratioKnob.get()})
                knob->updateFromPlugin();
            panel->sizeTarget->updateFromPlugin();
            panel->sizeDepth->updateFromPlugin();
            panel->repeatsTarget->updateFromPlugin();
            panel->repeatsDepth->updateFromPlugin();
            panel->ratioTarget->updateFromPlugin();
            panel->ratioDepth->updateFromPlugin();
        }
    }

    BufferComponent first{1, "BUFFER 1"};
    BufferComponent second{2, "BUFFER 2"};
};
} // namespace

using BufferPanelTest = EditorControlTest;

TEST_F(BufferPanelTest, ModuleOneBuildsBufferOneAndAnyOtherNumberBufferTwo)
{
    BufferComponent first(1, "BUFFER 1");
    EXPECT_EQ(first.getName(), "Buffer Component");
    EXPECT_EQ(first.getBounds(), juce::Rectangle<int>(0, 0, 230, 130));
    EXPECT_EQ(first.moduleNumber, 1);
    EXPECT_EQ(first.sizeKnob->knobColour, juce::Colour());
    EXPECT_EQ(first.sourceChip->text, "BUFFER 1");
    expectBindings(first, buffer1);

    for (int number : {2, 0, 7})
    {
        BufferComponent second(number, "BUFFER 2");
        expectBindings(second, buffer2);
        EXPECT_EQ(second.ratioKnob->knobColour, buffer2.arc);
    }
}

TEST_F(BufferPanelTest, ChildrenKeepTheirPlacesWhateverThePanelsSize)
{
    BufferComponent panel(1, "BUFFER 1");
    panel.setSize(400, 300);
    const std::pair<juce::Component*, juce::Rectangle<int>> places[] = {
        {panel.sizeKnob.get(), {10, 30, 70, 50}},      {panel.repeatsKnob.get(), {80, 30, 70, 50}},
        {panel.ratioKnob.get(), {150, 30, 70, 50}},    {panel.sourceChip.get(), {0, 0, 230, 20}},
        {panel.sizeTarget.get(), {15, 85, 60, 15}},    {panel.sizeDepth.get(), {15, 105, 60, 15}},
        {panel.repeatsTarget.get(), {85, 85, 60, 15}}, {panel.repeatsDepth.get(), {85, 105, 60, 15}},
        {panel.ratioTarget.get(), {155, 85, 60, 15}},  {panel.ratioDepth.get(), {155, 105, 60, 15}}};
    for (const auto& [child, bounds] : places)
        EXPECT_EQ(child->getBounds(), bounds) << child->getName();
    // The panel's children in back-to-front order: knobs, chip, then the slots.
    EXPECT_EQ(panel.getIndexOfChildComponent(panel.sourceChip.get()), 3);
}

TEST_F(BufferPanelTest, BufferOnesChipDroppedOnBufferTwosSizeSlotSelectsSourceTwo)
{
    BufferPanels panels;
    panels.wire(processor.get());

    panels.second.sizeTarget->itemDropped({"Mod Source", panels.first.sourceChip.get(), {5, 5}});
    EXPECT_EQ(bits(normalised(62)), bits(2.0f / 17.0f));
    panels.refresh();
    EXPECT_EQ(panels.second.sizeTarget->text, "BUFFER 1");
}

TEST_F(BufferPanelTest, RendersTheBufferPanelsAndAMatrixRowForAPersonToSee)
{
    BufferPanels panels;
    window.addAndMakeVisible(panels);
    panels.wire(processor.get());
    setNormalised(60, 9.0f / 17.0f); // buffer 1's Ratio modulated by LFO 2
    setNormalised(61, 0.375f);
    setNormalised(0, 0.7f);
    setNormalised(3, 0.7f);
    setNormalised(1, 0.6f);
    panels.refresh();

    const auto image = panels.createComponentSnapshot(panels.getLocalBounds(), true, 2.0f);
    writePng(image, "buffer-panels.png");

    // The panels' frames and the two arc colours, sampled at the Size knobs' value arcs.
    EXPECT_EQ(image.getPixelAt(0, 100), juce::Colour(0xffaeaeae));
    const auto arcPixel = [&](const BufferComponent& panel)
    {
        // The Size dial's arc at nine o'clock, 0.7 of the radius from its centre, in 2x pixels.
        const auto dial =
            panel.sizeKnob->slider->getBoundsInParent() + panel.sizeKnob->getPosition() + panel.getPosition();
        return image.getPixelAt((dial.getCentreX() - 13) * 2, dial.getCentreY() * 2);
    };
    EXPECT_TRUE(near(arcPixel(panels.first), buffer1.arc));
    EXPECT_TRUE(near(arcPixel(panels.second), buffer2.arc));

    // A modulation row of the matrix page, as the page lays it out at 16 pixels high.
    juce::Component row;
    row.setSize(323, 26);
    ModTargetComponent target(70);
    ModDepthComponent depth(71);
    ModLabelComponent label("FILTER 1 CUTOFF");
    label.label->setColour(juce::Label::textColourId, juce::Colour(0xff0069fe));
    row.addAndMakeVisible(target);
    row.addAndMakeVisible(depth);
    row.addAndMakeVisible(label);
    target.setBounds(5, 5, 120, 16);
    depth.setBounds(125, 5, 74, 16);
    label.setBounds(198, 5, 120, 16);
    window.addAndMakeVisible(row);
    target.processor = processor.get();
    depth.processor = processor.get();
    setNormalised(70, 9.0f / 17.0f);
    setNormalised(71, 0.5f);
    target.updateFromPlugin();
    depth.updateFromPlugin();

    struct Black : juce::Component
    {
        void paint(juce::Graphics& g) override { g.fillAll(juce::Colours::black); }
    } background;
    row.addAndMakeVisible(background, 0);
    background.setBounds(row.getLocalBounds());
    writePng(row.createComponentSnapshot(row.getLocalBounds(), true, 3.0f), "matrix-row.png");
    EXPECT_EQ(target.text, "LFO 2");
    EXPECT_EQ(depth.label->getText(), "50.00 %");
}
