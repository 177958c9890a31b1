// The page switch on its own: a framed word with an invisible toggle over it, its font following its height.
#include "EditorFixture.h"
#include "editor/PanelSwitcher.h"

using PageSwitchTest = EditorControlTest;

TEST_F(PageSwitchTest, BuiltAsAWordUnderATransparentToggle)
{
    PanelSwitcher pageSwitch;
    EXPECT_EQ(pageSwitch.getName(), "Panel Switcher");
    EXPECT_EQ(pageSwitch.getLocalBounds(), juce::Rectangle<int>(0, 0, 200, 60));
    ASSERT_EQ(pageSwitch.getNumChildComponents(), 2);
    EXPECT_EQ(pageSwitch.getChildComponent(0), pageSwitch.switchLabel.get());
    EXPECT_EQ(pageSwitch.getChildComponent(1), pageSwitch.switchButton.get());

    const auto& label = *pageSwitch.switchLabel;
    EXPECT_EQ(label.getName(), "switch label");
    EXPECT_EQ(label.getText(), "MATRIX");
    EXPECT_EQ(label.getJustificationType(), juce::Justification(juce::Justification::centred));
    EXPECT_FALSE(label.isEditable());
    EXPECT_EQ(label.getBounds(), pageSwitch.getLocalBounds());

    const auto& button = *pageSwitch.switchButton;
    EXPECT_EQ(button.getName(), "switch button");
    EXPECT_EQ(button.getButtonText(), "");
    EXPECT_TRUE(button.getClickingTogglesState());
    EXPECT_FALSE(button.getWantsKeyboardFocus());
    EXPECT_EQ(button.getBounds(), pageSwitch.getLocalBounds());
    for (const int id : {juce::TextButton::buttonColourId, juce::TextButton::buttonOnColourId,
                         juce::TextButton::textColourOnId, juce::TextButton::textColourOffId})
        EXPECT_EQ(button.findColour(id).getAlpha(), 0);

    // The resize inside the constructor leaves the font where it started.
    EXPECT_EQ(pageSwitch.fontHeight, 34.0f);
    EXPECT_EQ(pageSwitch.lastHeight, 60.0f);
    EXPECT_EQ(label.getFont().getHeight(), 34.0f);
}

TEST_F(PageSwitchTest, TheFontFollowsTheHeightWhateverHeightsCameBetween)
{
    PanelSwitcher pageSwitch;
    pageSwitch.setBounds(830, 550, 80, 20);
    EXPECT_EQ(bits(pageSwitch.switchLabel->getFont().getHeight()), bits(20.0f / 60.0f * 34.0f));
    EXPECT_EQ(bits(pageSwitch.fontHeight), bits(11.333334f));
    EXPECT_EQ(pageSwitch.lastHeight, 20.0f);

    for (const int height : {45, 7, 120, 20})
    {
        pageSwitch.setSize(80, height);
        EXPECT_NEAR(pageSwitch.switchLabel->getFont().getHeight(), 34.0f * (float)height / 60.0f, 1.0e-4f)
            << height;
    }
}

TEST_F(PageSwitchTest, NoTraceOfTheButtonInEitherState)
{
    PanelSwitcher pageSwitch;
    window.addAndMakeVisible(pageSwitch);
    pageSwitch.setBounds(0, 0, 80, 20);

    for (const bool on : {false, true})
    {
        pageSwitch.switchButton->setToggleState(on, juce::dontSendNotification);
        const auto image = render(pageSwitch);
        // The 2-pixel frame, then black up to the word.
        for (const auto& [x, y] : {std::pair{0, 0}, {1, 10}, {79, 19}, {78, 5}})
            EXPECT_TRUE(near(image.getPixelAt(x, y), juce::Colour(0xffaeaeae))) << on << " " << x << "," << y;
        for (const auto& [x, y] : {std::pair{2, 2}, {3, 10}, {76, 16}, {10, 2}})
            EXPECT_EQ(image.getPixelAt(x, y), juce::Colour(0xff000000)) << on << " " << x << "," << y;
    }
}
