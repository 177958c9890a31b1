// The editor's look: its typeface for every font and how it draws a knob.
#include "EditorFixture.h"
#include "TestDisplay.h"

#include <algorithm>
#include <cmath>
#include <vector>

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

// WCAG 2 contrast of a colour drawn over an opaque background.
double luminance(juce::Colour c)
{
    const auto linear = [](juce::uint8 v)
    {
        const double s = v / 255.0;
        return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(c.getRed()) + 0.7152 * linear(c.getGreen()) + 0.0722 * linear(c.getBlue());
}

double contrast(juce::Colour drawn, juce::Colour background)
{
    const double a = luminance(background.overlaidWith(drawn)), b = luminance(background);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

template <typename Type> std::vector<Type*> allOf(juce::Component& root)
{
    std::vector<Type*> found;
    for (auto* child : root.getChildren())
    {
        if (auto* match = dynamic_cast<Type*>(child))
            found.push_back(match);
        const auto below = allOf<Type>(*child);
        found.insert(found.end(), below.begin(), below.end());
    }
    return found;
}

// A text button reads and looks enabled: it is, and its text and frame stand out from the dialog.
void expectReadableButton(juce::TextButton& button, juce::Colour background)
{
    SCOPED_TRACE(button.getButtonText().toStdString());
    EXPECT_TRUE(button.isEnabled());
    EXPECT_GE(contrast(button.findColour(juce::TextButton::textColourOffId), background), 4.5);
    EXPECT_GE(contrast(button.findColour(juce::TextButton::buttonColourId), background), 3.0);
}
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

TEST_F(LookTest, TheFrameworksOverwriteQuestionReadsWellWithButtonsThatLookEnabled)
{
    // An alert window always goes onto the display as it is made.
    TestDisplay display;
    if (!display.available())
        GTEST_SKIP() << "needs an X display (run under xvfb-run)";

    // Drawn with this look as the default, as the save dialogs ask it.
    std::unique_ptr<juce::AlertWindow> question(
        look.createAlertWindow("File already exists", "There's already a file called: x.vxp", "Overwrite",
                               "Cancel", {}, juce::MessageBoxIconType::WarningIcon, 2, nullptr));
    const auto questionBackground = question->findColour(juce::AlertWindow::backgroundColourId);
    EXPECT_TRUE(questionBackground.isOpaque());
    EXPECT_GE(contrast(question->findColour(juce::AlertWindow::textColourId), questionBackground), 4.5);
    const auto answers = allOf<juce::TextButton>(*question);
    ASSERT_EQ(answers.size(), 2u);
    for (auto* button : answers)
        expectReadableButton(*button, questionBackground);
}

TEST_F(LookTest, TheFrameworksFileDialogReadsWellWithButtonsThatLookEnabled)
{
    // The save dialog, built as the framework builds it where the desktop offers none of its own.
    const auto folder = juce::File::getSpecialLocation(juce::File::userHomeDirectory);
    juce::WildcardFileFilter filter("*.vxp", {}, {});
    juce::FileBrowserComponent browser(juce::FileBrowserComponent::saveMode |
                                           juce::FileBrowserComponent::canSelectFiles |
                                           juce::FileBrowserComponent::warnAboutOverwriting,
                                       folder.getChildFile("Init.vxp"), &filter, nullptr);
    juce::FileChooserDialogBox dialog("Save Preset", {}, browser, true,
                                      browser.findColour(juce::AlertWindow::backgroundColourId), &window);
    dialog.setSize(600, 500);
    const auto background = dialog.getBackgroundColour();
    EXPECT_TRUE(background.isOpaque());
    EXPECT_GE(contrast(look.findColour(juce::FileChooserDialogBox::titleTextColourId), background), 4.5);

    auto buttons = allOf<juce::TextButton>(dialog);
    buttons.erase(std::remove_if(buttons.begin(), buttons.end(), [](auto* b) { return !b->isVisible(); }),
                  buttons.end());
    ASSERT_EQ(buttons.size(), 3u); // save, cancel and new folder
    for (auto* button : buttons)
        expectReadableButton(*button, background);

    const auto upButtons = allOf<juce::DrawableButton>(browser);
    ASSERT_EQ(upButtons.size(), 1u);
    const auto* arrow = dynamic_cast<juce::DrawableShape*>(upButtons[0]->getNormalImage());
    ASSERT_NE(arrow, nullptr);
    EXPECT_GE(contrast(arrow->getFill().colour, background), 3.0);

    for (auto* label : allOf<juce::Label>(browser))
        if (label->getText() == "file:")
            EXPECT_GE(contrast(label->findColour(juce::Label::textColourId), background), 4.5);

    // The current folder's box, filled by this look's combo-box drawing.
    const auto boxes = allOf<juce::ComboBox>(browser);
    ASSERT_EQ(boxes.size(), 1u);
    auto& folderBox = *boxes[0];
    const auto boxFill = folderBox.createComponentSnapshot(folderBox.getLocalBounds())
                             .getPixelAt(2, folderBox.getHeight() / 2);
    EXPECT_GE(contrast(folderBox.findColour(juce::ComboBox::textColourId), boxFill), 4.5);

    const auto nameBack = browser.findColour(juce::FileBrowserComponent::filenameBoxBackgroundColourId);
    EXPECT_GE(contrast(browser.findColour(juce::FileBrowserComponent::filenameBoxTextColourId),
                       background.overlaidWith(nameBack)),
              4.5);

    // The file list: names, the selected name on its highlight, and sizes and dates (the base's dark grey).
    auto* list = dynamic_cast<juce::Component*>(browser.getDisplayComponent());
    ASSERT_NE(list, nullptr);
    const auto listBack = background.overlaidWith(list->findColour(juce::ListBox::backgroundColourId));
    const auto highlight =
        listBack.overlaidWith(list->findColour(juce::DirectoryContentsDisplayComponent::highlightColourId));
    EXPECT_GE(contrast(list->findColour(juce::DirectoryContentsDisplayComponent::textColourId), listBack),
              4.5);
    EXPECT_GE(contrast(list->findColour(juce::DirectoryContentsDisplayComponent::highlightedTextColourId),
                       highlight),
              4.5);
    EXPECT_GE(contrast(juce::Colours::darkgrey, listBack), 4.5);
}
