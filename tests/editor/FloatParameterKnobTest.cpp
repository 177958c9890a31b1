// The float knob: edits through the shared sequence, refresh without echo, defaults, note lengths.
#include "editor/FloatParameterKnob.h"
#include "EditorFixture.h"
#include "editor/PopupMenuPresenter.h"

#include <limits>

namespace
{
constexpr int buffer1Size = 0, buffer2Size = 3, filter1Cutoff = 7;

// Stands in for the user at every menu the controls open: records the items shown and picks one.
struct MenuChoice
{
    MenuChoice()
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
    ~MenuChoice() { PopupMenuPresenter::replace(nullptr); }

    int pick = 0;
    juce::StringArray shown;
};
} // namespace

class FloatKnobTest : public EditorControlTest
{
protected:
    // Ratio and tempo, then the note-length menu opened by a right-click beside the Size dial.
    float chooseNoteLength(int sizeIndex, float ratioNormalised, float bpm, int item)
    {
        FloatParameterKnob knob(sizeIndex, "SZ");
        wire(knob);
        setNormalised(sizeIndex + 2, ratioNormalised);
        processor->hostBpm = bpm;
        host.events.clear();
        menu.shown.clear();
        menu.pick = item;
        knob.mouseUp(mouseEvent(knob, {35.0f, 45.0f}, rightClick()));
        return normalised(sizeIndex);
    }

    MenuChoice menu;
};

TEST_F(FloatKnobTest, IsBuiltAsA70By50KnobWithItsDialAndCaption)
{
    FloatParameterKnob knob(filter1Cutoff, "CUT");
    EXPECT_EQ(knob.getName(), "Float Parameter Knob");
    EXPECT_EQ(knob.getBounds(), juce::Rectangle<int>(0, 0, 70, 50));
    EXPECT_EQ(knob.slider->getName(), "knob");
    EXPECT_EQ(knob.slider->getBounds(), juce::Rectangle<int>(15, 0, 40, 40));
    EXPECT_EQ(knob.slider->getInterval(), 0.001);
    EXPECT_EQ(knob.slider->findColour(juce::Slider::rotarySliderFillColourId), juce::Colour(0xff308bff));
    EXPECT_EQ(knob.knobColour, juce::Colour());
    EXPECT_TRUE(knob.needsDefault);
}

TEST_F(FloatKnobTest, EachMoveIsOneGestureAndRefreshNeverEchoes)
{
    FloatParameterKnob knob(filter1Cutoff, "CUT");
    wire(knob);

    knob.slider->setValue(0.25, juce::sendNotificationSync);
    knob.slider->setValue(0.5, juce::sendNotificationSync);
    auto expected = HostEventLog::edit(filter1Cutoff, 0.25f);
    const auto second = HostEventLog::edit(filter1Cutoff, 0.5f);
    expected.insert(expected.end(), second.begin(), second.end());
    EXPECT_EQ(host.events, expected);

    // The host moves the parameter; learn mode is on: the refresh shows it and writes nothing.
    host.events.clear();
    processor->newMessage = false;
    processor->learnMode = true;
    setNormalised(filter1Cutoff, 0.8f);
    knob.updateFromPlugin();
    EXPECT_DOUBLE_EQ(knob.slider->getValue(), 0.8);
    EXPECT_TRUE(host.events.empty());
    EXPECT_FALSE(processor->newMessage);
    EXPECT_FALSE(param(filter1Cutoff).learnArmed);
}

TEST_F(FloatKnobTest, DoubleAndAltClickReturnToTheSnappedDefaultOnlyAfterTheFirstRefresh)
{
    FloatParameterKnob knob(buffer1Size, "SZ");
    wire(knob);
    setNormalised(buffer1Size, 0.9f);

    knob.slider->mouseDoubleClick(mouseEvent(*knob.slider, {20.0f, 20.0f}, {}, 2));
    EXPECT_TRUE(host.events.empty());

    knob.updateFromPlugin();
    knob.slider->mouseDoubleClick(mouseEvent(*knob.slider, {20.0f, 20.0f}, {}, 2));
    // (150 - 1) / 999 snapped to 0.001, so Size becomes 149.851 ms rather than 150.
    EXPECT_EQ(host.events, HostEventLog::edit(buffer1Size, 0.149f));
    EXPECT_EQ(processor->messageName.get(), "SIZE");

    // Already at the default: the slider does not notify, so nothing is sent.
    host.events.clear();
    knob.slider->mouseDoubleClick(mouseEvent(*knob.slider, {20.0f, 20.0f}, {}, 2));
    EXPECT_TRUE(host.events.empty());

    setNormalised(buffer1Size, 0.9f);
    knob.updateFromPlugin();
    knob.slider->mouseDown(mouseEvent(*knob.slider, {20.0f, 20.0f}, altClick()));
    knob.slider->mouseUp(mouseEvent(*knob.slider, {20.0f, 20.0f}, altClick()));
    EXPECT_EQ(host.events, HostEventLog::edit(buffer1Size, 0.149f));
}

TEST_F(FloatKnobTest, NoteLengthsFollowTempoAndRatioWithoutGesture)
{
    // Ratio 1 at 120 BPM: a bar is 2000 ms, halved once; a half bar is exactly 1000 and kept.
    EXPECT_EQ(bits(chooseNoteLength(buffer1Size, 0.75f, 120.0f, 1)), bits(1.0f));
    EXPECT_EQ(bits(chooseNoteLength(buffer1Size, 0.75f, 120.0f, 2)), bits(1.0f));
    EXPECT_EQ(bits(chooseNoteLength(buffer1Size, 0.75f, 120.0f, 3)), bits(0.5f));
    EXPECT_EQ(bits(chooseNoteLength(buffer1Size, 0.75f, 120.0f, 7)), bits(0.03125f));
    EXPECT_EQ(menu.shown, juce::StringArray({"1 BAR", "1/2", "1/4", "1/8", "1/16", "1/32", "1/64"}));
    EXPECT_EQ(host.events, std::vector<std::string>{"set 0 0.03125"});

    // Ratio 2 on buffer 2 at 90 BPM, an eighth: 2 x 60000 / 90 x 4 / 8 ms, in this order.
    float t = 60000.0f / 90.0f;
    t = t * 4.0f;
    t = t * 0.125f;
    EXPECT_EQ(bits(chooseNoteLength(buffer2Size, 1.0f, 90.0f, 4)), bits(2.0f * t / 1000.0f));

    // Ratio -2 at 60 BPM: 8000 ms halves to 1000; the sign does not matter.
    EXPECT_EQ(bits(chooseNoteLength(buffer1Size, 0.0f, 60.0f, 1)), bits(1.0f));
}

TEST_F(FloatKnobTest, NoteLengthsWithoutAUsableRatioTempoOrChoiceWriteNothing)
{
    struct Case
    {
        float ratioNormalised, bpm;
        int item;
    };
    // Ratio 0; no tempo, a negative or endless one (the halving would never end); a dismissed menu.
    for (const auto& c : {Case{0.5f, 120.0f, 1}, Case{0.75f, 0.0f, 1}, Case{0.75f, -120.0f, 1},
                          Case{0.75f, std::numeric_limits<float>::infinity(), 1},
                          Case{0.75f, std::numeric_limits<float>::quiet_NaN(), 1}, Case{0.75f, 1.0e-40f, 1},
                          Case{0.75f, 120.0f, 0}})
    {
        setNormalised(buffer1Size, 0.3f);
        EXPECT_EQ(bits(chooseNoteLength(buffer1Size, c.ratioNormalised, c.bpm, c.item)), bits(0.3f)) << c.bpm;
        EXPECT_TRUE(host.events.empty());
    }
}

TEST_F(FloatKnobTest, TheMenuOpensOnlyForAPopupClickOnASizeKnob)
{
    menu.pick = 1;
    FloatParameterKnob cutoff(filter1Cutoff, "CUT");
    FloatParameterKnob size(buffer2Size, "SZ");
    wire(cutoff);
    wire(size);

    cutoff.mouseUp(mouseEvent(cutoff, {35.0f, 45.0f}, rightClick()));
    size.mouseUp(mouseEvent(size, {35.0f, 45.0f}));
    EXPECT_TRUE(menu.shown.isEmpty());

    size.mouseUp(mouseEvent(size, {35.0f, 45.0f}, rightClick()));
    EXPECT_EQ(menu.shown.size(), 7);
}

TEST_F(FloatKnobTest, AKnobWithoutItsProcessorDoesNothing)
{
    FloatParameterKnob knob(buffer1Size, "SZ");
    window.addAndMakeVisible(knob);
    knob.updateFromPlugin();
    knob.slider->setValue(0.5, juce::sendNotificationSync);
    menu.pick = 1;
    knob.mouseUp(mouseEvent(knob, {35.0f, 45.0f}, rightClick()));
    EXPECT_TRUE(knob.needsDefault);
    EXPECT_TRUE(host.events.empty());
}
