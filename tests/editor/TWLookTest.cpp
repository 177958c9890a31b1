// The editor's look: its typeface for every font and how it draws knobs, buttons and combo boxes.
#include "editor/TWLookAndFeel.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
const juce::Colour black(0xff000000);
const juce::Colour grey(0xffaeaeae);
const juce::Colour blue(0xff308bff);

// Renders at this scale so a ring's edge can be told apart from its neighbour's to a tenth of a pixel.
constexpr float scale = 8.0f;

struct LookTest : ::testing::Test
{
    LookTest() { look.install(window); }
    ~LookTest() override { look.remove(window); }

    static juce::Image render(juce::Component& component, float renderScale = 1.0f)
    {
        return component.createComponentSnapshot(component.getLocalBounds(), true, renderScale);
    }

    vesk::TWLook look;
    juce::Component window;
};

struct Knob
{
    explicit Knob(int side, double value)
    {
        slider.setSliderStyle(juce::Slider::RotaryVerticalDrag);
        slider.setTextBoxStyle(juce::Slider::NoTextBox, true, 0, 0);
        slider.setRange(0.0, 1.0);
        slider.setValue(value);
        slider.setColour(juce::Slider::backgroundColourId, black);
        slider.setColour(juce::Slider::rotarySliderFillColourId, blue);
        slider.setColour(juce::Slider::rotarySliderOutlineColourId, grey);
        slider.setSize(side, side);
    }

    // The colour at a distance from the centre straight above it (twelve o'clock, inside the arc's range).
    juce::Colour above(const juce::Image& image, float distance) const
    {
        const float centre = static_cast<float>(slider.getWidth()) * 0.5f * scale;
        return image.getPixelAt(static_cast<int>(centre),
                                static_cast<int>(std::floor(centre - distance * scale)));
    }

    juce::Slider slider;
};

bool near(juce::Colour a, juce::Colour b)
{
    return std::abs(a.getRed() - b.getRed()) < 8 && std::abs(a.getGreen() - b.getGreen()) < 8 &&
           std::abs(a.getBlue() - b.getBlue()) < 8;
}
} // namespace

TEST_F(LookTest, EveryFontIsSetInTheEmbeddedRobotoWhileInstalledAndNoLongerAfter)
{
    const auto roboto = look.getTypefaceForFont(juce::Font());
    ASSERT_NE(roboto, nullptr);
    EXPECT_EQ(roboto->getName(), "Roboto");

    for (const auto& font : {juce::Font(12.0f), juce::Font(30.0f, juce::Font::bold),
                             juce::Font("Serif", 9.0f, juce::Font::italic | juce::Font::bold)})
        EXPECT_EQ(font.getTypefacePtr(), roboto);

    look.remove(window);
    EXPECT_NE(juce::Font(12.0f).getTypefacePtr(), roboto);

    // A font resolved under the framework's default must not keep it once the look is back.
    look.install(window);
    EXPECT_EQ(juce::Font(12.0f).getTypefacePtr(), roboto);
}

TEST_F(LookTest, KnobsOfMoreThan15PixelsRadiusDrawTheLargeRingsOthersTheSmallOnes)
{
    // At full value the arc covers twelve o'clock. Large: arc 0.6 r .. 0.8 r, black 0.8 r .. 0.9 r.
    // Small: arc 0.55 r .. 0.75 r, black 0.75 r .. 0.85 r.
    Knob large(40, 1.0); // r = 18
    large.slider.setLookAndFeel(&look);
    const auto largeImage = render(large.slider, scale);
    EXPECT_TRUE(near(large.above(largeImage, 14.0f), blue));  // 0.78 r
    EXPECT_TRUE(near(large.above(largeImage, 15.5f), black)); // 0.86 r
    EXPECT_TRUE(near(large.above(largeImage, 17.0f), grey));
    EXPECT_TRUE(near(large.above(largeImage, 5.0f), grey)); // the hub
    large.slider.setLookAndFeel(nullptr);

    Knob borderline(34, 1.0); // r = 15: not more than 15
    borderline.slider.setLookAndFeel(&look);
    const auto smallImage = render(borderline.slider, scale);
    EXPECT_TRUE(near(borderline.above(smallImage, 10.0f), blue));  // 0.67 r
    EXPECT_TRUE(near(borderline.above(smallImage, 11.6f), black)); // 0.77 r, still arc on a large knob
    borderline.slider.setLookAndFeel(nullptr);
}

TEST_F(LookTest, TheArcFollowsTheValueAndGreysOutWhenDisabled)
{
    Knob knob(40, 0.0);
    knob.slider.setLookAndFeel(&look);
    EXPECT_TRUE(near(knob.above(render(knob.slider, scale), 12.6f), black));

    knob.slider.setValue(1.0);
    juce::Component panel;
    panel.addAndMakeVisible(knob.slider);
    panel.setEnabled(false);
    // 0x80808080 over the black ring.
    EXPECT_TRUE(near(knob.above(render(knob.slider, scale), 12.6f), juce::Colour(0xff404040)));
    knob.slider.setLookAndFeel(nullptr);
}

TEST_F(LookTest, TextButtonsAreABlockWhenOnAndOnlyAFrameWhenOffEvenWhilePressed)
{
    juce::TextButton button;
    button.setSize(40, 20);

    button.setToggleState(true, juce::dontSendNotification);
    EXPECT_EQ(render(button).getPixelAt(20, 10), grey);

    button.setToggleState(false, juce::dontSendNotification);
    button.setState(juce::Button::buttonDown);
    const auto off = render(button);
    EXPECT_EQ(off.getPixelAt(20, 10).getAlpha(), 0);
    EXPECT_TRUE(near(off.getPixelAt(0, 10), grey));
}

TEST_F(LookTest, ComboBoxesAreBlackWithAGreyButtonAndArrowsOnlyWhileEnabled)
{
    juce::ComboBox box;
    box.setSize(100, 20); // arrow button 84..100
    const auto arrowPoint = juce::Point<int>(92, 8);

    const auto enabled = render(box);
    EXPECT_EQ(enabled.getPixelAt(40, 10), black);
    EXPECT_EQ(enabled.getPixelAt(arrowPoint.x, arrowPoint.y), juce::Colour(0xff0f0f0f));

    box.setEnabled(false);
    EXPECT_EQ(render(box).getPixelAt(arrowPoint.x, arrowPoint.y), grey);
}
