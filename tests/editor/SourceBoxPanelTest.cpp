// The mixer and multiplier source boxes: a pick writes source k as k / 17 with its message lines, and a
// refresh shows the source back without ever writing.
#include "ModulePanelFixture.h"
#include "editor/MixerComponent.h"
#include "editor/MultiplierComponent.h"

namespace
{
const juce::StringArray sourceTexts{"NONE",     "INPUT",        "BUFFER 1",    "BUFFER 2", "FILTER 1",
                                    "FILTER 2", "CRUSHER 1",    "CRUSHER 2",   "LFO 1",    "LFO 2",
                                    "LFO 3",    "LFO 4",        "MIXER 1",     "MIXER 2",  "MIXER 3",
                                    "MIXER 4",  "MULTIPLIER 1", "MULTIPLIER 2"};
} // namespace

class SourceBoxPanelTest : public ModulePanelTest
{
protected:
    // A pick as the user makes it: the box selects the item and tells its listener from the message loop.
    static void pick(juce::ComboBox& box, const juce::String& text)
    {
        box.setSelectedItemIndex(sourceTexts.indexOf(text));
        runPendingMessages();
    }
};

TEST_F(SourceBoxPanelTest, APickWritesTheSourceOverSeventeenWithItsMessageLines)
{
    MixerComponent mixer(2, "MIXER 2");
    place(mixer);
    mixer.updateFromPlugin();
    pick(*mixer.sourceBBox, "LFO 3");
    expectEdit(44, 10.0f / 17.0f, "SOURCE B", "LFO 3");
    mixer.updateFromPlugin();
    EXPECT_EQ(mixer.sourceBBox->getText(), "LFO 3");

    MultiplierComponent multiplier(2, "MULTIPLIER 2");
    place(multiplier);
    multiplier.updateFromPlugin();
    forgetEdits();
    pick(*multiplier.sourceABox, "INPUT");
    expectEdit(54, 1.0f / 17.0f, "SOURCE A", "INPUT");

    // Every box offers all eighteen sources, its own panel's included; each reads back as itself.
    for (int k = 17; k >= 0; --k)
    {
        EXPECT_EQ(multiplier.sourceBBox->getItemText(k), sourceTexts[k]);
        EXPECT_EQ(multiplier.sourceBBox->getItemId(k), k + 1);
        pick(*multiplier.sourceBBox, sourceTexts[k]);
        EXPECT_EQ(bits(normalised(55)), bits(static_cast<float>(k) / 17.0f)) << k;
        multiplier.updateFromPlugin();
        EXPECT_EQ(multiplier.sourceBBox->getSelectedItemIndex(), k);
    }
}

TEST_F(SourceBoxPanelTest, PickingWhatIsShownLeavingNothingSelectedOrAnotherBoxWritesNothing)
{
    MixerComponent mixer(1, "MIXER 1");
    place(mixer);
    processor->learnMode = true;
    mixer.updateFromPlugin();
    pick(*mixer.sourceABox, "CRUSHER 1");

    // A box that tells of a change while it shows nothing has no source to write.
    mixer.sourceABox->setSelectedId(0, juce::sendNotificationSync);
    EXPECT_EQ(mixer.sourceABox->getText(), "");

    juce::ComboBox stranger;
    stranger.addItem("NONE", 1);
    stranger.setSelectedId(1, juce::dontSendNotification);
    mixer.comboBoxChanged(&stranger);

    runPendingMessages();
    expectNothingWritten();
}

TEST_F(SourceBoxPanelTest, RefreshShowsTheLowerSourceForAnyValueAndNeverEchoes)
{
    MixerComponent mixers[] = {{1, "MIXER 1"}, {2, "MIXER 2"}};
    MultiplierComponent multiplier(1, "MULTIPLIER 1");
    for (auto& mixer : mixers)
        place(mixer);
    place(multiplier);
    processor->learnMode = true;

    // The initial patch: mixer 1 mixes the two crushers, everything else takes nothing.
    for (auto& mixer : mixers)
        mixer.updateFromPlugin();
    multiplier.updateFromPlugin();
    EXPECT_EQ(mixers[0].sourceABox->getText(), "CRUSHER 1");
    EXPECT_EQ(mixers[0].sourceBBox->getText(), "CRUSHER 2");
    for (auto* box : {mixers[1].sourceABox.get(), mixers[1].sourceBBox.get(), multiplier.sourceABox.get(),
                      multiplier.sourceBBox.get()})
        EXPECT_EQ(box->getText(), "NONE");

    // Between two sources the lower one shows: 0.5 x 17 = 8.5 is LFO 1; only 1 is the last source.
    const std::pair<float, const char*> cases[] = {
        {0.5f, "LFO 1"}, {1.0f, "MULTIPLIER 2"}, {0.999f, "MULTIPLIER 1"}, {0.058f, "NONE"}, {0.0f, "NONE"}};
    for (const auto& [value, text] : cases)
    {
        setNormalised(52, value);
        multiplier.updateFromPlugin();
        EXPECT_EQ(multiplier.sourceABox->getText(), text) << value;
    }

    runPendingMessages();
    expectNothingWritten();
}
