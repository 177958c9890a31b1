// The editor's look: its typeface for every font, how it draws a knob, and the framework's dialogs it draws.
#include "EditorFixture.h"
#include "TestDisplay.h"

#include <juce_audio_utils/juce_audio_utils.h>

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

// What a control's text is drawn on: the rendering of the whole dialog just inside the control's frame.
juce::Colour fillOf(juce::Component& dialog, juce::Component& control)
{
    const auto spot = dialog.getLocalArea(&control, juce::Rectangle<int>(2, control.getHeight() / 2, 1, 1));
    return dialog.createComponentSnapshot(spot).getPixelAt(0, 0);
}

// The Standalone's Audio/MIDI Settings content, as its wrapper builds it: the mute toggle with its label
// above the device selector, on the window background the default look gives.
struct AudioSettingsContent : juce::Component
{
    AudioSettingsContent(juce::AudioDeviceManager& devices, int inputs, int outputs)
        : selector(devices, 0, inputs, 0, outputs, true, false, true, false)
    {
        setOpaque(true);
        muteButton.setClickingTogglesState(true);
        addAndMakeVisible(selector);
        addAndMakeVisible(muteButton);
        addAndMakeVisible(muteLabel);
        muteLabel.attachToComponent(&muteButton, true);
        setSize(500, 550);
    }

    void paint(juce::Graphics& g) override
    {
        g.fillAll(getLookAndFeel().findColour(juce::ResizableWindow::backgroundColourId));
    }

    void resized() override
    {
        auto area = getLocalBounds();
        const auto row = area.removeFromTop(selector.getItemHeight());
        muteButton.setBounds(row.proportionOfWidth(0.35f), selector.getItemHeight() / 2,
                             row.proportionOfWidth(0.6f), selector.getItemHeight());
        area.removeFromTop(selector.getItemHeight() / 2);
        selector.setBounds(area);
    }

    juce::AudioDeviceSelectorComponent selector;
    juce::Label muteLabel{"Feedback Loop:", "Feedback Loop:"};
    juce::ToggleButton muteButton{"Mute audio input"};
};

template <typename Type> std::vector<Type*> allVisible(juce::Component& root)
{
    auto found = allOf<Type>(root);
    found.erase(std::remove_if(found.begin(), found.end(), [](auto* c) { return !c->isVisible(); }),
                found.end());
    return found;
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

TEST_F(LookTest, TheFileDialogsNewFolderPromptShowsTheTypedNameItsCaretAndItsSelection)
{
    TestDisplay display;
    if (!display.available())
        GTEST_SKIP() << "needs an X display (run under xvfb-run)";

    const auto folder = juce::File::getSpecialLocation(juce::File::userHomeDirectory);
    juce::FileBrowserComponent browser(juce::FileBrowserComponent::saveMode |
                                           juce::FileBrowserComponent::canSelectFiles,
                                       folder.getChildFile("Init.vxp"), nullptr, nullptr);
    juce::FileChooserDialogBox dialog("Save Preset", {}, browser, true,
                                      browser.findColour(juce::AlertWindow::backgroundColourId), &window);
    dialog.setSize(600, 500);
    auto buttons = allOf<juce::TextButton>(dialog);
    const auto newFolder = std::find_if(buttons.begin(), buttons.end(),
                                        [](auto* b) { return b->getButtonText() == "New Folder"; });
    ASSERT_NE(newFolder, buttons.end());

    // The button's own handler, as a click runs it: the prompt goes onto the display, modal.
    (*newFolder)->onClick();
    auto* modal = juce::ModalComponentManager::getInstance()->getModalComponent(0);
    std::unique_ptr<juce::AlertWindow> prompt(dynamic_cast<juce::AlertWindow*>(modal));
    ASSERT_NE(prompt, nullptr);
    auto* field = prompt->getTextEditor("Folder Name");
    ASSERT_NE(field, nullptr);
    field->setText("Live presets");

    const auto promptBackground = prompt->findColour(juce::AlertWindow::backgroundColourId);
    const auto fieldBackground =
        promptBackground.overlaidWith(field->findColour(juce::TextEditor::backgroundColourId));
    EXPECT_GE(contrast(field->findColour(juce::TextEditor::textColourId), fieldBackground), 4.5);
    const auto selection =
        fieldBackground.overlaidWith(field->findColour(juce::TextEditor::highlightColourId));
    EXPECT_GE(contrast(field->findColour(juce::TextEditor::highlightedTextColourId), selection), 4.5);
    EXPECT_GE(contrast(selection, fieldBackground), 3.0);

    // The caret, as it paints, on the field and in the dialog's file name field.
    const auto caretColour = [](juce::TextEditor& editor)
    {
        const auto carets = allOf<juce::CaretComponent>(editor);
        EXPECT_EQ(carets.size(), 1u);
        if (carets.empty())
            return juce::Colour();
        auto& caret = *carets[0];
        caret.setSize(2, 12);
        return caret.createComponentSnapshot(caret.getLocalBounds()).getPixelAt(1, 6);
    };
    EXPECT_GE(contrast(caretColour(*field), fieldBackground), 3.0);
    const auto names = allOf<juce::TextEditor>(browser);
    ASSERT_EQ(names.size(), 1u);
    const auto nameBackground =
        dialog.getBackgroundColour().overlaidWith(names[0]->findColour(juce::TextEditor::backgroundColourId));
    EXPECT_GE(contrast(caretColour(*names[0]), nameBackground), 3.0);
}

TEST_F(LookTest, TheStandalonesAudioSettingsReadWellOnTheWindowsBlack)
{
    juce::AudioDeviceManager devices;
    AudioSettingsContent content(devices, processor->getBus(true, 0)->getDefaultLayout().size(),
                                 processor->getBus(false, 0)->getDefaultLayout().size());
    const auto background = look.findColour(juce::ResizableWindow::backgroundColourId);
    ASSERT_TRUE(background.isOpaque());
    EXPECT_EQ(content.createComponentSnapshot({1, 1}).getPixelAt(0, 0), background);
    writePng(render(content), "audio-settings.png");

    // Labels beside the boxes (a combo box's own label is measured with its box).
    juce::StringArray captions;
    for (auto* label : allVisible<juce::Label>(content))
        if (dynamic_cast<juce::ComboBox*>(label->getParentComponent()) == nullptr)
        {
            SCOPED_TRACE(label->getText().toStdString());
            captions.add(label->getText());
            EXPECT_GE(contrast(label->findColour(juce::Label::textColourId),
                               background.overlaidWith(label->findColour(juce::Label::backgroundColourId))),
                      4.5);
        }
    EXPECT_TRUE(captions.contains("Feedback Loop:"));
    EXPECT_TRUE(captions.contains("Active MIDI inputs:"));

    for (auto* box : allVisible<juce::ComboBox>(content))
    {
        SCOPED_TRACE(box->getText().toStdString());
        EXPECT_GE(contrast(box->findColour(juce::ComboBox::textColourId), fillOf(content, *box)), 4.5);
    }

    // Test and the device's buttons: framed, their texts as they read while enabled.
    for (auto* button : allVisible<juce::TextButton>(content))
    {
        SCOPED_TRACE(button->getButtonText().toStdString());
        EXPECT_GE(contrast(button->findColour(juce::TextButton::textColourOffId), fillOf(content, *button)),
                  4.5);
        EXPECT_GE(contrast(button->findColour(juce::TextButton::buttonColourId), background), 3.0);
    }

    const auto toggles = allVisible<juce::ToggleButton>(content);
    ASSERT_FALSE(toggles.empty());
    for (auto* toggle : toggles)
    {
        SCOPED_TRACE(toggle->getButtonText().toStdString());
        EXPECT_GE(contrast(toggle->findColour(juce::ToggleButton::textColourId), background), 4.5);
        EXPECT_GE(contrast(toggle->findColour(juce::ToggleButton::tickColourId), background), 3.0);
    }

    // The MIDI inputs: names ticked, unticked (dimmed to 60%) and on a selected row, and the note shown
    // while there are none.
    const auto lists = allVisible<juce::ListBox>(content);
    ASSERT_FALSE(lists.empty());
    for (auto* list : lists)
    {
        const auto listBackground =
            background.overlaidWith(list->findColour(juce::ListBox::backgroundColourId));
        const auto selectedRow = listBackground.overlaidWith(
            list->findColour(juce::TextEditor::highlightColourId).withMultipliedAlpha(0.3f));
        const auto name = list->findColour(juce::ListBox::textColourId, true);
        for (const auto& on : {listBackground, selectedRow})
        {
            EXPECT_GE(contrast(name, on), 4.5);
            EXPECT_GE(contrast(name.withMultipliedAlpha(0.6f), on), 4.5);
        }
        EXPECT_GE(contrast(juce::Colours::grey, listBackground), 4.5);
        EXPECT_GE(contrast(list->findColour(juce::ListBox::outlineColourId), background), 3.0);
    }
}

TEST_F(LookTest, TheFrameworksButtonsReadOnTheStandalonesLightNotificationBar)
{
    // The bar the Standalone shows while audio input is muted, with its "Settings..." button.
    struct Bar : juce::Component
    {
        void paint(juce::Graphics& g) override { g.fillAll(juce::Colours::lightgoldenrodyellow); }
    } bar;
    juce::TextButton settings("Settings...");
    bar.addAndMakeVisible(settings);
    bar.setSize(300, 30);
    settings.setBounds(225, 5, 70, 20);

    EXPECT_GE(contrast(settings.findColour(juce::TextButton::textColourOffId), fillOf(bar, settings)), 4.5);
}
