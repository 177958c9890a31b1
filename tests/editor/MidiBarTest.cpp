// The MIDI-learn bar: two latches and a one-shot request, written into the processor's fields.
#include "BarTestSupport.h"
#include "EditorFixture.h"
#include "editor/MidiComponent.h"

class MidiBarTest : public EditorControlTest
{
protected:
    void SetUp() override
    {
        EditorControlTest::SetUp();
        wire(bar);
    }

    void click(juce::Button& button) { ::click(button, bar); }

    MidiComponent bar;
};

TEST_F(MidiBarTest, ThreeSquaresWithTheirCaptions)
{
    EXPECT_EQ(bar.getName(), "");
    EXPECT_EQ(bar.getLocalBounds(), juce::Rectangle<int>(0, 0, 130, 80));

    struct Row
    {
        juce::Label* label;
        const char* labelName;
        const char* caption;
        juce::Rectangle<int> labelBounds;
        juce::TextButton* button;
        const char* buttonName;
        juce::Rectangle<int> buttonBounds;
    };
    const Row rows[] = {
        {bar.clearLabel.get(),
         "Clear Label",
         "CLEAR",
         {25, 62, 100, 8},
         bar.clearButton.get(),
         "Clear Button",
         {10, 61, 10, 10}},
        {bar.unlearnLabel.get(),
         "Unlearn Label",
         "UNLEARN",
         {25, 36, 100, 8},
         bar.unlearnButton.get(),
         "Unlearn Button",
         {10, 35, 10, 10}},
        {bar.learnLabel.get(),
         "Learn label",
         "LEARN",
         {25, 10, 100, 8},
         bar.learnButton.get(),
         "Learn button",
         {10, 9, 10, 10}},
    };

    ASSERT_EQ(bar.getNumChildComponents(), 6);
    for (int i = 0; i < 3; ++i)
    {
        const auto& row = rows[i];
        SCOPED_TRACE(row.caption);
        EXPECT_EQ(bar.getChildComponent(2 * i), row.label);
        EXPECT_EQ(bar.getChildComponent(2 * i + 1), row.button);

        EXPECT_EQ(row.label->getName(), row.labelName);
        EXPECT_EQ(row.label->getText(), row.caption);
        EXPECT_EQ(row.label->getBounds(), row.labelBounds);
        EXPECT_EQ(row.label->getFont().getHeight(), 10.0f);
        EXPECT_EQ(row.label->getJustificationType(), juce::Justification(juce::Justification::centredLeft));
        EXPECT_FALSE(row.label->isEditable());
        EXPECT_EQ(row.label->findColour(juce::Label::textColourId), juce::Colour(0xffaeaeae));
        EXPECT_EQ(row.label->findColour(juce::Label::outlineColourId).getAlpha(), 0);

        EXPECT_EQ(row.button->getName(), row.buttonName);
        EXPECT_EQ(row.button->getButtonText(), "");
        EXPECT_EQ(row.button->getBounds(), row.buttonBounds);
        EXPECT_TRUE(row.button->getClickingTogglesState());
        EXPECT_FALSE(row.button->getWantsKeyboardFocus());
        EXPECT_FALSE(row.button->getToggleState());
        EXPECT_EQ(row.button->findColour(juce::TextButton::buttonColourId), juce::Colour(0xffaeaeae));
        EXPECT_EQ(row.button->findColour(juce::TextButton::buttonOnColourId), juce::Colour(0xffaeaeae));
    }
    EXPECT_EQ(bar.unlearnButton->findColour(juce::TextButton::textColourOnId), juce::Colour(0xff000000));
}

TEST_F(MidiBarTest, LearnAndUnlearnLatchTheirModesAndClearRaisesItsRequest)
{
    // The latches start off whatever the processor's modes are, and are never read back.
    processor->learnMode = true;
    processor->unlearnMode = true;
    MidiComponent reopened;
    wire(reopened);
    EXPECT_FALSE(reopened.learnButton->getToggleState());
    EXPECT_FALSE(reopened.unlearnButton->getToggleState());
    click(*reopened.learnButton);
    EXPECT_TRUE(processor->learnMode);
    click(*reopened.learnButton);
    EXPECT_FALSE(processor->learnMode);

    click(*bar.unlearnButton);
    EXPECT_TRUE(processor->unlearnMode);
    EXPECT_FALSE(processor->learnMode);
    click(*bar.unlearnButton);
    EXPECT_FALSE(processor->unlearnMode);

    // Both latches may be on at once.
    click(*bar.learnButton);
    click(*bar.unlearnButton);
    EXPECT_TRUE(processor->learnMode);
    EXPECT_TRUE(processor->unlearnMode);

    // CLEAR raises the request on every click, also the one that turns its square off again.
    click(*bar.clearButton);
    EXPECT_TRUE(processor->clearAllRequest);
    EXPECT_TRUE(bar.clearButton->getToggleState());
    processor->clearAllRequest = false;
    click(*bar.clearButton);
    EXPECT_TRUE(processor->clearAllRequest);
    EXPECT_TRUE(processor->learnMode);
    EXPECT_TRUE(processor->unlearnMode);

    // Buttons of other components are not its business.
    juce::TextButton stranger;
    processor->clearAllRequest = false;
    bar.buttonClicked(&stranger);
    EXPECT_FALSE(processor->clearAllRequest);
}
