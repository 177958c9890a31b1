// The editor's look: its typeface for every font and how it draws a knob.
#include "EditorFixture.h"

#include <cmath>

namespace
{
const juce::Colour black(0xff000000), grey(0xffaeaeae), blue(0xff308bff);

// Rendered at this scale, a ring's edge can be told from its neighbour's to a tenth of a pixel.
constexpr float scale = 8.0f;

struct Knob : juce::Slider
{
    Knob(int side, double value)
    {
        setSliderStyle(RotaryVerticalDrag);
        setTextBoxStyle(NoTextBox, true, 0, 0);
        setRange(0.0, 1.0);
        setValue(value);
        setColour(backgroundColourId, black);
        setColour(rotarySliderFillColourId, blue);
        setColour(rotarySliderOutlineColourId, grey);
        setSize(side, side);
    }

    // The colours straight above the centre (twelve o'clock, inside the arc's range), by distance.
    juce::Colour above(float distance)
    {
        const auto image = createComponentSnapshot(getLocalBounds(), true, scale);
        const float centre = static_cast<float>(getWidth()) * 0.5f * scale;
        return image.getPixelAt(static_cast<int>(centre),
                                static_cast<int>(std::floor(centre - distance * scale)));
    }
};
} // namespace

using LookTest = EditorControlTest;

TEST_F(LookTest, EveryFontIsSetInTheEmbeddedRobotoWhileInstalledAndNoLongerAfter)
{
    const auto roboto = look.getTypefaceForFont(juce::Font());
    ASSERT_EQ(roboto->getName(), "Roboto");
    for (const auto& font :
         {juce::Font(12.0f), juce::Font("Serif", 9.0f, juce::Font::italic | juce::Font::bold)})
        EXPECT_EQ(font.getTypefacePtr(), roboto);

    look.remove(window);
    EXPECT_NE(juce::Font(12.0f).getTypefacePtr(), roboto);
    // A font resolved under the framework's default must not keep that typeface once the look is back.
    look.install(window);
    EXPECT_EQ(juce::Font(12.0f).getTypefacePtr(), roboto);
}

TEST_F(LookTest, KnobsOfMoreThan15PixelsRadiusDrawTheLargeRingsAndDisabledArcsAreGrey)
{
    // Large (r = 18): arc 0.6 r .. 0.8 r, black to 0.9 r, grey rim. Small: arc 0.55 r .. 0.75 r.
    Knob large(40, 1.0);
    EXPECT_EQ(large.above(14.0f), blue);
    EXPECT_EQ(large.above(15.5f), black);
    EXPECT_EQ(large.above(17.0f), grey);
    EXPECT_EQ(large.above(5.0f), grey); // the hub

    Knob borderline(34, 1.0); // r = 15 is not more than 15
    EXPECT_EQ(borderline.above(10.0f), blue);
    EXPECT_EQ(borderline.above(11.6f), black); // still arc on a large knob

    Knob empty(40, 0.0);
    EXPECT_EQ(empty.above(12.6f), black);

    juce::Component panel;
    panel.addAndMakeVisible(large);
    panel.setEnabled(false);
    EXPECT_TRUE(near(large.above(12.6f), juce::Colour(0xff404040))); // 0x80808080 over black
}
