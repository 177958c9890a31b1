// The output panel and its scope strip: bindings, header, layout and the trace drawn from known histories.
#include "ModulePanelFixture.h"
#include "editor/DryWetComponent.h"

#include <limits>
#include <vector>

namespace
{
using Points = std::vector<juce::Point<float>>;

Points pointsOf(const juce::Path& path)
{
    Points points;
    for (juce::Path::Iterator it(path); it.next();)
        points.push_back({it.x1, it.y1});
    return points;
}

// The strip is 70 wide: value i of the history sits at x = 70 - 35 i / 64 (exact in single precision),
// except the oldest, 127, which starts the trace at x = 0.
float xOf(int i)
{
    return i == 127 ? 0.0f : static_cast<float>(70.0 - 35.0 * i / 64.0);
}
} // namespace

class OutputPanelTest : public ModulePanelTest
{
protected:
    // The trace drawn from a history given newest first.
    Points traceOf(const std::vector<float>& history)
    {
        processor->scopeHistory.clearQuick();
        for (float value : history)
            processor->scopeHistory.add(value);
        panel.updateFromPlugin();
        return pointsOf(panel.scope.path);
    }

    void SetUp() override
    {
        ModulePanelTest::SetUp();
        place(panel);
    }

    DryWetComponent panel;
};

TEST_F(OutputPanelTest, IsBuiltWithItsHeaderWhiteKnobsOneSlotAndTheScopeBetweenTheKnobs)
{
    EXPECT_EQ(panel.getName(), "DryWet Component");
    EXPECT_EQ(panel.getBounds(), juce::Rectangle<int>(0, 0, 230, 130));
    EXPECT_EQ(panel.dryWetKnob->paramIndex, 18);
    EXPECT_EQ(panel.levelKnob->paramIndex, 19);
    EXPECT_EQ(panel.modTarget->paramIndex, 92);
    EXPECT_EQ(panel.modDepth->paramIndex, 93);
    for (auto* knob : {panel.dryWetKnob.get(), panel.levelKnob.get()})
    {
        EXPECT_EQ(knob->knobColour, juce::Colours::white);
        EXPECT_EQ(knob->slider->findColour(juce::Slider::rotarySliderFillColourId), juce::Colours::white);
    }

    const auto& header = *panel.header;
    EXPECT_EQ(header.getName(), "Header");
    EXPECT_EQ(header.getText(), "OUT");
    EXPECT_EQ(header.getFont().getHeight(), 14.0f);
    EXPECT_EQ(header.getJustificationType(), juce::Justification::centred);
    EXPECT_FALSE(header.isEditableOnSingleClick() || header.isEditableOnDoubleClick());
    EXPECT_EQ(header.findColour(juce::Label::backgroundColourId), juce::Colour(0x80aeaeae));
    EXPECT_EQ(header.findColour(juce::Label::textColourId), juce::Colour(0xffaeaeae));

    panel.setSize(300, 200);
    const std::pair<juce::Component*, juce::Rectangle<int>> places[] = {
        {panel.header.get(), {0, 0, 230, 20}},      {panel.dryWetKnob.get(), {10, 30, 70, 50}},
        {panel.levelKnob.get(), {150, 30, 70, 50}}, {panel.modTarget.get(), {15, 85, 60, 15}},
        {panel.modDepth.get(), {15, 105, 60, 15}},  {&panel.scope, {80, 60, 70, 30}}};
    for (const auto& [child, bounds] : places)
        EXPECT_EQ(child->getBounds(), bounds) << child->getName();
    const juce::Component* order[] = {panel.header.get(),    panel.dryWetKnob.get(), panel.levelKnob.get(),
                                      panel.modTarget.get(), panel.modDepth.get(),   &panel.scope};
    ASSERT_EQ(panel.getNumChildComponents(), 6);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(panel.getChildComponent(i), order[i]);
}

TEST_F(OutputPanelTest, RefreshShowsTheControlsAndWritesNothing)
{
    setNormalised(18, 0.25f);
    setNormalised(19, 0.5f);
    setNormalised(92, 4.0f / 17.0f);
    panel.updateFromPlugin();
    EXPECT_EQ(panel.dryWetKnob->slider->getValue(), 0.25);
    EXPECT_EQ(panel.levelKnob->slider->getValue(), 0.5);
    EXPECT_EQ(panel.modTarget->text, "FILTER 1");
    runPendingMessages();
    expectNothingWritten();

    panel.levelKnob->slider->setValue(1.0, juce::sendNotificationSync);
    expectEdit(19, 1.0f, "OUTPUT LEVEL", processor->getParameterText(19));
}

TEST_F(OutputPanelTest, TheTraceRunsFromTheOldestValueOnTheLeftToTheNewestOnTheRight)
{
    // Newest first: +0.5 (y 7.5), then -0.5 (y 22.5), 0.25 (y 11.25), the rest silent (mid-height).
    std::vector<float> history(128, 0.0f);
    history[0] = 0.5f;
    history[1] = -0.5f;
    history[2] = 0.25f;
    history[127] = -0.25f;
    const auto points = traceOf(history);

    ASSERT_EQ(points.size(), 128u);
    for (int i = 0; i < 128; ++i)
        EXPECT_EQ(points[static_cast<size_t>(127 - i)].x, xOf(i)) << i;
    EXPECT_EQ(points.front(), juce::Point<float>(0.0f, 18.75f));
    EXPECT_EQ(points[125].y, 11.25f);
    EXPECT_EQ(points[126].y, 22.5f);
    EXPECT_EQ(points.back(), juce::Point<float>(70.0f, 7.5f));
    EXPECT_EQ(points[64].y, 15.0f);
    // The leftmost segment is two steps wide, each other one step.
    EXPECT_EQ(points[1].x, 2.0f * 0.546875f);
}

TEST_F(OutputPanelTest, ValuesBeyondFullScaleMissingOrNotFiniteStayOnTheStrip)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();

    // Clipped to the edges.
    auto points = traceOf({1.7f, -3.0f});
    EXPECT_EQ(points[127].y, 0.0f);
    EXPECT_EQ(points[126].y, 30.0f);
    // Past the end of a short history the trace runs at mid-height.
    for (size_t i = 0; i < 126; ++i)
        EXPECT_EQ(points[i].y, 15.0f) << i;

    // Not a number and infinities are drawn as silence.
    points = traceOf({nan, inf, -inf, 1.0f});
    EXPECT_EQ(points[127].y, 15.0f);
    EXPECT_EQ(points[126].y, 15.0f);
    EXPECT_EQ(points[125].y, 15.0f);
    EXPECT_EQ(points[124].y, 0.0f);

    // An empty history is a flat line across the whole strip.
    points = traceOf({});
    ASSERT_EQ(points.size(), 128u);
    EXPECT_EQ(points.front(), juce::Point<float>(0.0f, 15.0f));
    EXPECT_EQ(points.back(), juce::Point<float>(70.0f, 15.0f));
    const auto bounds = panel.scope.path.getBounds();
    EXPECT_EQ(bounds, juce::Rectangle<float>(0.0f, 15.0f, 70.0f, 0.0f));
}
