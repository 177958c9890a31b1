// The output panel's scope strip: the trace's points for known histories, newest value on the right.
#include "ModulePanelFixture.h"
#include "editor/DryWetComponent.h"

#include <limits>
#include <vector>

class ScopeTest : public ModulePanelTest
{
protected:
    void SetUp() override
    {
        ModulePanelTest::SetUp();
        place(panel);
    }

    // The trace's points, oldest first, drawn from a history given newest first; silence past its end.
    std::vector<juce::Point<float>> traceOf(const std::vector<float>& history)
    {
        for (size_t i = 0; i < processor->scopeHistory.size(); ++i)
            processor->scopeHistory[i] = i < history.size() ? history[i] : 0.0f;
        panel.updateFromPlugin();

        std::vector<juce::Point<float>> points;
        for (juce::Path::Iterator it(panel.scope.path); it.next();)
            points.push_back({it.x1, it.y1});
        return points;
    }

    DryWetComponent panel;
};

TEST_F(ScopeTest, TheTraceRunsFromTheOldestValueOnTheLeftToTheNewestOnTheRight)
{
    // Newest first: +0.5 (y 7.5), -0.5 (y 22.5), 0.25 (y 11.25), silence (mid-height), the oldest -0.25.
    std::vector<float> history(128, 0.0f);
    history[0] = 0.5f;
    history[1] = -0.5f;
    history[2] = 0.25f;
    history[127] = -0.25f;
    const auto points = traceOf(history);

    ASSERT_EQ(points.size(), 128u);
    // In the 70-pixel strip value i sits at x = 70 - 35 i / 64, exact in single precision, except the
    // oldest, which starts the trace at x = 0: the leftmost segment is two steps wide.
    EXPECT_EQ(points.front(), juce::Point<float>(0.0f, 18.75f));
    for (int i = 0; i < 127; ++i)
        EXPECT_EQ(points[static_cast<size_t>(127 - i)].x, static_cast<float>(70.0 - 35.0 * i / 64.0)) << i;
    EXPECT_EQ(points[1].x, 2.0f * 70.0f / 128.0f);
    EXPECT_EQ(points[64].y, 15.0f);
    EXPECT_EQ(points[125].y, 11.25f);
    EXPECT_EQ(points[126].y, 22.5f);
    EXPECT_EQ(points.back(), juce::Point<float>(70.0f, 7.5f));

    // Each refresh draws the trace afresh.
    EXPECT_EQ(traceOf(history), points);
}

TEST_F(ScopeTest, ValuesBeyondFullScaleMissingOrNotFiniteStayOnTheStrip)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();

    // Clipped to the edges; past the end of a short history the trace runs at mid-height.
    auto points = traceOf({1.7f, -3.0f});
    EXPECT_EQ(points[127].y, 0.0f);
    EXPECT_EQ(points[126].y, 30.0f);
    for (size_t i = 0; i < 126; ++i)
        EXPECT_EQ(points[i].y, 15.0f) << i;

    // Not a number and the infinities are drawn as silence.
    points = traceOf({nan, inf, -inf, 1.0f});
    EXPECT_EQ(points[127].y, 15.0f);
    EXPECT_EQ(points[126].y, 15.0f);
    EXPECT_EQ(points[125].y, 15.0f);
    EXPECT_EQ(points[124].y, 0.0f);

    // An empty history is a flat line across the whole strip.
    traceOf({});
    EXPECT_EQ(panel.scope.path.getBounds(), juce::Rectangle<float>(0.0f, 15.0f, 70.0f, 0.0f));
}
