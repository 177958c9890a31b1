// The mixer and multiplier panels: their source boxes write k / 17 and show it back without echo.
#include "ModulePanelFixture.h"
#include "editor/MixerComponent.h"
#include "editor/MultiplierComponent.h"

namespace
{
const juce::StringArray sourceTexts{"NONE",     "INPUT",        "BUFFER 1",    "BUFFER 2", "FILTER 1",
                                    "FILTER 2", "CRUSHER 1",    "CRUSHER 2",   "LFO 1",    "LFO 2",
                                    "LFO 3",    "LFO 4",        "MIXER 1",     "MIXER 2",  "MIXER 3",
                                    "MIXER 4",  "MULTIPLIER 1", "MULTIPLIER 2"};

void expectSourceBox(const juce::ComboBox& box, const char* name)
{
    EXPECT_EQ(box.getName(), name);
    ASSERT_EQ(box.getNumItems(), 18);
    for (int k = 0; k < 18; ++k)
    {
        EXPECT_EQ(box.getItemId(k), k + 1);
        EXPECT_EQ(box.getItemText(k), sourceTexts[k]);
    }
    EXPECT_FALSE(box.isTextEditable());
    EXPECT_EQ(box.getJustificationType(), juce::Justification::centredLeft);
    EXPECT_EQ(box.getTextWhenNothingSelected(), "");
    EXPECT_EQ(box.getTextWhenNoChoicesAvailable(), "(no choices)");
    EXPECT_FALSE(box.getWantsKeyboardFocus());
}

// A pick as the user makes it: the box selects the item and tells its listener from the message loop.
void pick(juce::ComboBox& box, const juce::String& text)
{
    box.setSelectedItemIndex(sourceTexts.indexOf(text));
}
} // namespace

class SourceBoxPanelTest : public ModulePanelTest
{
protected:
    void pickAndDeliver(juce::ComboBox& box, const juce::String& text)
    {
        pick(box, text);
        runPendingMessages();
    }
};

TEST_F(SourceBoxPanelTest, MixersBindTheirParametersAndAnyOtherNumberMixerFour)
{
    for (int n = 1; n <= 6; ++n)
    {
        const int mixer = n <= 3 ? n : 4;
        const int base = 40 + 3 * (mixer - 1);
        MixerComponent panel(n == 5 ? 0 : n, "MIXER");
        EXPECT_EQ(panel.sourceAParam, base);
        EXPECT_EQ(panel.sourceBParam, base + 1);
        EXPECT_EQ(panel.mixKnob->paramIndex, base + 2);
        EXPECT_EQ(panel.modTarget->paramIndex, 110 + 2 * (mixer - 1));
        EXPECT_EQ(panel.modDepth->paramIndex, 111 + 2 * (mixer - 1));
        EXPECT_EQ(panel.sourceChip->getName(), "Src_Mixer" + juce::String(mixer));
    }

    MixerComponent panel(1, "MIXER 1");
    EXPECT_EQ(panel.getName(), "Mixer Component");
    EXPECT_EQ(panel.getBounds(), juce::Rectangle<int>(0, 0, 230, 130));
    EXPECT_EQ(panel.sourceChip->text, "MIXER 1");
    EXPECT_EQ(panel.mixKnob->knobColour, juce::Colour(0xfffbff03));
    expectSourceBox(*panel.sourceABox, "Source A box");
    expectSourceBox(*panel.sourceBBox, "Source B box");

    panel.setSize(300, 300);
    const std::pair<juce::Component*, juce::Rectangle<int>> places[] = {
        {panel.mixKnob.get(), {10, 30, 70, 50}},      {panel.sourceABox.get(), {100, 30, 120, 16}},
        {panel.sourceBBox.get(), {100, 85, 120, 16}}, {panel.sourceChip.get(), {0, 0, 230, 20}},
        {panel.modTarget.get(), {15, 85, 60, 15}},    {panel.modDepth.get(), {15, 105, 60, 15}}};
    for (size_t i = 0; i < std::size(places); ++i)
    {
        EXPECT_EQ(places[i].first->getBounds(), places[i].second) << places[i].first->getName();
        EXPECT_EQ(panel.getChildComponent(static_cast<int>(i)), places[i].first);
    }
}

TEST_F(SourceBoxPanelTest, MultipliersBindTheirParametersAndAnyOtherNumberMultiplierTwo)
{
    for (int n : {1, 2, 0, 3})
    {
        MultiplierComponent panel(n, "MULTIPLIER");
        const int multiplier = n == 1 ? 1 : 2;
        EXPECT_EQ(panel.sourceAParam, 52 + 2 * (multiplier - 1));
        EXPECT_EQ(panel.sourceBParam, 53 + 2 * (multiplier - 1));
        EXPECT_EQ(panel.sourceChip->getName(), "Src_Multiplier" + juce::String(multiplier));
    }

    MultiplierComponent panel(2, "MULTIPLIER 2");
    EXPECT_EQ(panel.getName(), "Multiplier Component");
    EXPECT_EQ(panel.getBounds(), juce::Rectangle<int>(0, 0, 230, 65));
    expectSourceBox(*panel.sourceABox, "Source A box");
    expectSourceBox(*panel.sourceBBox, "Source B box");
    EXPECT_EQ(panel.sourceABox->getBounds(), juce::Rectangle<int>(10, 35, 100, 15));
    EXPECT_EQ(panel.sourceBBox->getBounds(), juce::Rectangle<int>(120, 35, 100, 15));
    EXPECT_EQ(panel.sourceChip->getBounds(), juce::Rectangle<int>(0, 0, 230, 20));
    EXPECT_EQ(panel.getChildComponent(2), panel.sourceChip.get());
}

TEST_F(SourceBoxPanelTest, APickWritesTheSourceOverSeventeenWithItsMessageLines)
{
    MixerComponent mixer(2, "MIXER 2");
    place(mixer);
    mixer.updateFromPlugin();
    pickAndDeliver(*mixer.sourceBBox, "LFO 3");
    expectEdit(44, 10.0f / 17.0f, "SOURCE B", "LFO 3");
    mixer.updateFromPlugin();
    EXPECT_EQ(mixer.sourceBBox->getText(), "LFO 3");

    MultiplierComponent multiplier(2, "MULTIPLIER 2");
    place(multiplier);
    multiplier.updateFromPlugin();
    forgetEdits();
    pickAndDeliver(*multiplier.sourceABox, "INPUT");
    expectEdit(54, 1.0f / 17.0f, "SOURCE A", "INPUT");

    // Every source is written as k / 17 and shown back as itself; a box may pick its own panel.
    for (int k = 17; k >= 0; --k)
    {
        forgetEdits();
        pickAndDeliver(*multiplier.sourceBBox, sourceTexts[k]);
        EXPECT_EQ(bits(normalised(55)), bits(static_cast<float>(k) / 17.0f)) << k;
        multiplier.updateFromPlugin();
        EXPECT_EQ(multiplier.sourceBBox->getSelectedItemIndex(), k);
    }
}

TEST_F(SourceBoxPanelTest, PickingWhatIsShownOrLeavingNothingSelectedWritesNothing)
{
    MixerComponent mixer(1, "MIXER 1");
    place(mixer);
    processor->learnMode = true;
    mixer.updateFromPlugin();
    pickAndDeliver(*mixer.sourceABox, "CRUSHER 1");

    // A box told of a change while empty: no source to write, no gesture, no message.
    mixer.sourceABox->setSelectedId(0, juce::sendNotificationSync);
    EXPECT_EQ(mixer.sourceABox->getText(), "");
    // A box that is not the panel's own.
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

    // Between two sources the lower one shows: 0.5 x 17 = 8.5 is LFO 1; 1 is the last source.
    const std::pair<float, const char*> cases[] = {
        {0.5f, "LFO 1"}, {1.0f, "MULTIPLIER 2"}, {0.0f, "NONE"}, {0.999f, "MULTIPLIER 1"}, {0.058f, "NONE"}};
    for (const auto& [value, text] : cases)
    {
        setNormalised(52, value);
        multiplier.updateFromPlugin();
        EXPECT_EQ(multiplier.sourceABox->getText(), text) << value;
    }

    runPendingMessages();
    expectNothingWritten();
}
