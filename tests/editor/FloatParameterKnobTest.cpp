// The float knob: edits through the shared sequence, refresh without echo, defaults, note lengths.
#include "editor/FloatParameterKnob.h"
#include "EditorFixture.h"
#include "editor/PopupMenuPresenter.h"

#include <limits>

namespace
{
constexpr int buffer1Size = 0, buffer2Size = 3, filter1Cutoff = 7;
}

class FloatKnobTest : public EditorControlTest
{
protected:
    // Stands in for the user at the menu: records what it shows and picks an item.
    FloatKnobTest()
    {
        PopupMenuPresenter::replace(
            [this](const juce::PopupMenu& menu, const juce::PopupMenu::Options&,
                   std::function<void(int)> onChosen)
            {
                for (juce::PopupMenu::MenuItemIterator item(menu); item.next();)
                    shown.add(item.getItem().text);
                onChosen(pick);
            });
    }
    ~FloatKnobTest() override { PopupMenuPresenter::replace(nullptr); }

    // Ratio and tempo, then a right-click beside the Size dial and a choice in its note-length menu.
    float chooseNoteLength(int sizeIndex, float ratioNormalised, float bpm, int item)
    {
        FloatParameterKnob knob(sizeIndex, "SZ");
        wire(knob);
        setNormalised(sizeIndex, 0.3f);
        setNormalised(sizeIndex + 2, ratioNormalised);
        processor->hostBpm = bpm;
        host.events.clear();
        shown.clear();
        pick = item;
        knob.mouseUp(mouseEvent(knob, {35.0f, 45.0f}, juce::ModifierKeys::rightButtonModifier));
        return normalised(sizeIndex);
    }

    int pick = 0;
    juce::StringArray shown;
};

TEST_F(FloatKnobTest, EachMoveIsOneGestureAndRefreshNeverEchoes)
{
    FloatParameterKnob knob(filter1Cutoff, "CUT");
    wire(knob);
    knob.slider->setValue(0.25, juce::sendNotificationSync);
    knob.slider->setValue(0.5, juce::sendNotificationSync);
    EXPECT_EQ(host.events,
              HostEventLog::edit(filter1Cutoff, 0.25f) + HostEventLog::edit(filter1Cutoff, 0.5f));

    // The host moves the parameter while learn mode is on: the refresh shows it and writes nothing.
    host.events.clear();
    processor->newMessage = false;
    processor->learnMode = true;
    setNormalised(filter1Cutoff, 0.8f);
    knob.updateFromPlugin();
    EXPECT_DOUBLE_EQ(knob.slider->getValue(), 0.8);
    EXPECT_EQ(host.events, "");
    EXPECT_FALSE(processor->newMessage);
    EXPECT_FALSE(param(filter1Cutoff).learnArmed);
}

TEST_F(FloatKnobTest, DoubleAndAltClickReturnToTheSnappedDefaultOnlyAfterTheFirstRefresh)
{
    FloatParameterKnob knob(buffer1Size, "SZ");
    wire(knob);
    setNormalised(buffer1Size, 0.9f);
    knob.slider->mouseDoubleClick(doubleClick(*knob.slider));
    EXPECT_EQ(host.events, "");

    knob.updateFromPlugin();
    knob.slider->mouseDoubleClick(doubleClick(*knob.slider));
    // (150 - 1) / 999 snapped to 0.001: Size becomes 149.851 ms rather than 150.
    EXPECT_EQ(host.events, HostEventLog::edit(buffer1Size, 0.149f));
    EXPECT_EQ(processor->messageName.get(), "SIZE");

    host.events.clear();
    setNormalised(buffer1Size, 0.9f);
    knob.updateFromPlugin();
    const juce::ModifierKeys altClick(juce::ModifierKeys::altModifier |
                                      juce::ModifierKeys::leftButtonModifier);
    knob.slider->mouseDown(mouseEvent(*knob.slider, {20.0f, 20.0f}, altClick));
    knob.slider->mouseUp(mouseEvent(*knob.slider, {20.0f, 20.0f}, altClick));
    EXPECT_EQ(host.events, HostEventLog::edit(buffer1Size, 0.149f));
}

TEST_F(FloatKnobTest, NoteLengthsFollowTempoAndRatioWithoutGesture)
{
    // Ratio 1 at 120 BPM: a bar is 2000 ms, halved once; a half bar is exactly 1000 and kept.
    EXPECT_EQ(bits(chooseNoteLength(buffer1Size, 0.75f, 120.0f, 1)), bits(1.0f));
    EXPECT_EQ(bits(chooseNoteLength(buffer1Size, 0.75f, 120.0f, 2)), bits(1.0f));
    EXPECT_EQ(bits(chooseNoteLength(buffer1Size, 0.75f, 120.0f, 3)), bits(0.5f));
    EXPECT_EQ(bits(chooseNoteLength(buffer1Size, 0.75f, 120.0f, 7)), bits(0.03125f));
    EXPECT_EQ(shown, juce::StringArray({"1 BAR", "1/2", "1/4", "1/8", "1/16", "1/32", "1/64"}));
    EXPECT_EQ(host.events, "set 0 0.03125, ");

    // Ratio 2 on buffer 2 at 90 BPM, an eighth, in this order: 2 x (60000 / 90 x 4 x 1/8) / 1000.
    float t = 60000.0f / 90.0f;
    t = t * 4.0f;
    t = t * 0.125f;
    EXPECT_EQ(bits(chooseNoteLength(buffer2Size, 1.0f, 90.0f, 4)), bits(2.0f * t / 1000.0f));
    // Ratio -2 at 60 BPM: 8000 ms halves to 1000.
    EXPECT_EQ(bits(chooseNoteLength(buffer1Size, 0.0f, 60.0f, 1)), bits(1.0f));
}

TEST_F(FloatKnobTest, NoteLengthsWithoutAUsableRatioTempoOrChoiceWriteNothing)
{
    const float inf = std::numeric_limits<float>::infinity(), nan = std::numeric_limits<float>::quiet_NaN();
    // Ratio 0; no tempo, a negative, endless or vanishing one (the halving would never end); dismissed.
    for (const auto& [ratio, bpm, item] :
         {std::tuple(0.5f, 120.0f, 1), std::tuple(0.75f, 0.0f, 1), std::tuple(0.75f, -120.0f, 1),
          std::tuple(0.75f, inf, 1), std::tuple(0.75f, nan, 1), std::tuple(0.75f, 1.0e-40f, 1),
          std::tuple(0.75f, 120.0f, 0)})
    {
        EXPECT_EQ(bits(chooseNoteLength(buffer1Size, ratio, bpm, item)), bits(0.3f)) << bpm;
        EXPECT_EQ(host.events, "");
    }
}

TEST_F(FloatKnobTest, OnlyAPopupClickOnAWiredSizeKnobOpensTheMenu)
{
    FloatParameterKnob cutoff(filter1Cutoff, "CUT"), size(buffer2Size, "SZ"), unwired(buffer1Size, "SZ");
    wire(cutoff);
    wire(size);
    window.addAndMakeVisible(unwired);
    cutoff.mouseUp(mouseEvent(cutoff, {35.0f, 45.0f}, juce::ModifierKeys::rightButtonModifier));
    size.mouseUp(mouseEvent(size, {35.0f, 45.0f}));
    EXPECT_TRUE(shown.isEmpty());

    // A knob whose processor is not yet written shows its menu but changes nothing, and has no default.
    pick = 1;
    unwired.mouseUp(mouseEvent(unwired, {35.0f, 45.0f}, juce::ModifierKeys::rightButtonModifier));
    unwired.updateFromPlugin();
    unwired.slider->setValue(0.5, juce::sendNotificationSync);
    EXPECT_EQ(shown.size(), 7);
    EXPECT_TRUE(unwired.needsDefault);
    EXPECT_EQ(host.events, "");
}
