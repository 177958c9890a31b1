// The preset bar: saving through the dialog, browsing, the preset menu, the options menu and its resets.
#include "BarTestSupport.h"
#include "EditorFixture.h"
#include "editor/PresetComponent.h"
#include "plugin/ParameterTable.h"

namespace
{
// A patch far from the defaults, so every reset and every saved value shows.
float offDefault(int index)
{
    return (float)((index * 37) % 101) / 100.0f;
}
} // namespace

class PresetBarTest : public EditorControlTest
{
protected:
    void SetUp() override
    {
        EditorControlTest::SetUp();
        presets = emptyPresetFolder(*processor);
        wire(bar);
        bar.dialogs = std::make_unique<ScriptedDialogs>(script);
    }

    void click(juce::Button& button) { ::click(button, bar); }

    void addPresets(std::initializer_list<const char*> names)
    {
        for (const auto* name : names)
            ASSERT_TRUE(writePreset(*processor, name, presets.getChildFile(juce::String(name) + ".vxp")));
        processor->presetManager.update();
        processor->presetMenuNames = processor->presetManager.presetNames;
    }

    void setOffDefaultPatch()
    {
        for (int i = 0; i < QuorvelAudioProcessor::numParameters; ++i)
            setNormalised(i, offDefault(i));
        host.events.clear();
    }

    void pickOption(int option)
    {
        click(*bar.menuButton);
        script.pickItem(option);
    }

    juce::Array<juce::File> presetFiles() const
    {
        return presets.findChildFiles(juce::File::findFiles, false, "*", juce::File::FollowSymlinks::no);
    }

    DialogScript script;
    PresetComponent bar;
    juce::File presets;
};

TEST_F(PresetBarTest, SevenButtonsInTheirPlacesAndColours)
{
    struct Expected
    {
        juce::TextButton* button;
        const char* name;
        const char* text;
        juce::Rectangle<int> bounds;
        bool flashes;
    };
    const Expected buttons[] = {
        {bar.randomButton.get(), "random button", "?", {130, 49, 30, 16}, true},
        {bar.loadButton.get(), "load button", "L", {40, 49, 30, 16}, false},
        {bar.saveButton.get(), "save button", "S", {0, 49, 30, 16}, true},
        {bar.previousButton.get(), "", "<", {0, 15, 20, 20}, true},
        {bar.nextButton.get(), "", ">", {180, 15, 20, 20}, true},
        {bar.menuButton.get(), "menu button", "M", {170, 49, 30, 16}, false},
        {bar.nameButton.get(), "", "", {25, 15, 150, 20}, false},
    };

    EXPECT_EQ(bar.getName(), "Preset Component");
    EXPECT_EQ(bar.getLocalBounds(), juce::Rectangle<int>(0, 0, 200, 80));
    EXPECT_TRUE(bar.menuDirty);
    ASSERT_EQ(bar.getNumChildComponents(), 7);
    for (int i = 0; i < 7; ++i)
    {
        const auto& expected = buttons[i];
        SCOPED_TRACE(expected.text);
        EXPECT_EQ(bar.getChildComponent(i), expected.button);
        EXPECT_EQ(expected.button->getName(), expected.name);
        EXPECT_EQ(expected.button->getButtonText(), expected.text);
        EXPECT_EQ(expected.button->getBounds(), expected.bounds);
        EXPECT_EQ(expected.button->getClickingTogglesState(), expected.flashes);
        EXPECT_TRUE(expected.button->isVisible());
        EXPECT_FALSE(expected.button->getWantsKeyboardFocus());
        EXPECT_EQ(expected.button->findColour(juce::TextButton::buttonColourId), juce::Colour(0xffaeaeae));
        EXPECT_EQ(expected.button->findColour(juce::TextButton::buttonOnColourId), juce::Colour(0xffaeaeae));
        EXPECT_EQ(expected.button->findColour(juce::TextButton::textColourOnId), juce::Colour(0xff000000));
        EXPECT_EQ(expected.button->findColour(juce::TextButton::textColourOffId), juce::Colour(0xffaeaeae));
    }

    EXPECT_TRUE(bar.isInterestedInFileDrag({}));
    EXPECT_TRUE(bar.isInterestedInFileDrag({"/tmp/a.wav", "/tmp/b"}));
}

TEST_F(PresetBarTest, SaveWritesThePatchUnderTheChosenNameWithThePresetExtension)
{
    struct Case
    {
        const char* typed;
        const char* written;
        const char* presetName;
    };
    for (const auto& c : {Case{"Dark Pad", "Dark Pad.vxp", "Dark Pad"}, Case{"Dark.Pad", "Dark.vxp", "Dark"},
                          Case{"Loud.VXP", "Loud.VXP", "Loud"}, Case{"Soft.vxp", "Soft.vxp", "Soft"}})
    {
        SCOPED_TRACE(c.typed);
        presets.deleteRecursively();
        presets.createDirectory();
        processor->presetListChanged = false;
        const auto proposed = processor->presetName.get();
        bar.saveButton->setToggleState(false, juce::dontSendNotification);

        click(*bar.saveButton);
        EXPECT_TRUE(bar.saveButton->getToggleState());
        ASSERT_TRUE(script.pendingFile);
        const auto& request = script.fileRequests.back();
        EXPECT_EQ(request.title, "Save Preset");
        EXPECT_EQ(request.initialLocation, presets.getChildFile(proposed + ".vxp"));
        EXPECT_EQ(request.filter, "*.vxp");
        EXPECT_TRUE(request.forSaving);

        script.chooseFile(presets.getChildFile(c.typed));

        ASSERT_EQ(presetFiles().size(), 1);
        EXPECT_EQ(presetFiles()[0].getFileName(), c.written);
        EXPECT_EQ(processor->presetName.get(), c.presetName);
        EXPECT_EQ(processor->presetMenuNames, juce::StringArray(c.presetName));
        EXPECT_EQ(processor->presetManager.presetNames, juce::StringArray(c.presetName));
        EXPECT_TRUE(processor->presetListChanged);
    }
}

TEST_F(PresetBarTest, EveryNameTheFileSystemTakesSavesListsAndLoadsUnderThatName)
{
    struct Case
    {
        juce::String typed;
        juce::String presetName;
    };
    // A leading dot starts no extension; the file system's limit is 255 bytes for the whole file name.
    const auto longest = juce::String::repeatedString(juce::String::fromUTF8("\xc3\xbc"), 125) + "x";
    for (const auto& c :
         {Case{".hidden", ".hidden"}, Case{".hidden.Pad", ".hidden"},
          Case{juce::String::repeatedString("n", 245), juce::String::repeatedString("n", 245)},
          Case{longest, longest}})
    {
        SCOPED_TRACE(c.typed.toStdString());
        presets.deleteRecursively();
        presets.createDirectory();
        processor->presetName.set("Before");

        click(*bar.saveButton);
        script.chooseFile(presets.getChildFile(c.typed));

        EXPECT_TRUE(script.saveFailures.empty());
        ASSERT_EQ(presetFiles().size(), 1);
        EXPECT_EQ(presetFiles()[0].getFileName(), c.presetName + ".vxp");
        EXPECT_EQ(processor->presetName.get(), c.presetName);
        EXPECT_EQ(processor->presetMenuNames, juce::StringArray(c.presetName));

        // Loaded from the list, it is named as listed; the next save proposes its own file.
        processor->presetName.set("Other");
        juce::File listed;
        ASSERT_EQ(processor->presetManager.fileForIndex(0, listed), torvaLib::PresetManager::Lookup::found);
        processor->applyPresetFile(listed.getFullPathName());
        EXPECT_EQ(processor->presetName.get(), c.presetName);
        click(*bar.saveButton);
        EXPECT_EQ(script.fileRequests.back().initialLocation, presets.getChildFile(c.presetName + ".vxp"));
        script.cancelFile();
    }
}

TEST_F(PresetBarTest, ASaveThatCannotBeWrittenIsToldAndChangesNoNameListOrFile)
{
    const auto kept = presets.getChildFile("Kept.vxp");
    ASSERT_TRUE(writePreset(*processor, "Kept", kept));
    const auto keptText = kept.loadFileAsString();
    processor->presetName.set("Current");

    struct Case
    {
        juce::String typed;
        juce::String reason;
    };
    // A name with a slash aims into a folder that does not exist; the long one fails at the rename.
    const auto tooLong = juce::String::repeatedString("y", 300);
    for (const auto& c :
         {Case{"Pad w/ LFO", "No such file or directory"}, Case{tooLong, "File name too long"}})
    {
        SCOPED_TRACE(c.typed.toStdString());
        script.saveFailures.clear();

        click(*bar.saveButton);
        script.chooseFile(presets.getChildFile(c.typed));

        ASSERT_EQ(script.saveFailures.size(), 1u);
        EXPECT_EQ(script.saveFailures[0].file, presets.getChildFile(c.typed + ".vxp"));
        EXPECT_EQ(script.saveFailures[0].reason, c.reason);
        EXPECT_EQ(processor->presetName.get(), "Current");
        EXPECT_EQ(processor->presetMenuNames, juce::StringArray("Kept"));
        EXPECT_EQ(processor->presetManager.presetNames, juce::StringArray("Kept"));
        // No temporary file or folder is left behind, and the other preset is untouched.
        EXPECT_EQ(presets.getNumberOfChildFiles(juce::File::findFilesAndDirectories), 1);
        EXPECT_EQ(kept.loadFileAsString(), keptText);
    }
}

TEST_F(PresetBarTest, ASavedPresetHoldsTheNameAndEveryCurrentValueInIndexOrder)
{
    setOffDefaultPatch();
    param(3).midiCC = 12;
    pickOption(PresetComponent::resetModDepths);

    click(*bar.saveButton);
    script.chooseFile(presets.getChildFile("Every Value"));
    const auto file = presets.getChildFile("Every Value.vxp");

    // The framework's default text format: declaration first, CR LF line ends.
    const auto text = file.loadFileAsString();
    EXPECT_TRUE(text.startsWith(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n\r\n<VOLKARIS_PRESET PresetName=\"Every Value\""));
    EXPECT_FALSE(text.replace("\r\n", "").containsChar('\n'));

    const auto preset = juce::parseXML(file);
    ASSERT_NE(preset, nullptr);
    EXPECT_EQ(preset->getTagName(), "VOLKARIS_PRESET");
    EXPECT_EQ(preset->getNumChildElements(), 0);
    ASSERT_EQ(preset->getNumAttributes(), 1 + QuorvelAudioProcessor::numParameters);
    EXPECT_EQ(preset->getAttributeName(0), "PresetName");
    for (int i = 0; i < QuorvelAudioProcessor::numParameters; ++i)
    {
        EXPECT_EQ(preset->getAttributeName(i + 1), processor->getParameterName(i));
        EXPECT_EQ(bits((float)preset->getDoubleAttribute(processor->getParameterName(i))),
                  bits(normalised(i)))
            << i;
    }
    for (int slot = 0; slot < ParameterTable::numModSlots; ++slot)
        EXPECT_EQ(preset->getDoubleAttribute(processor->getParameterName(ParameterTable::modDepthIndex(slot)),
                                             -1.0),
                  0.0);

    // Read back into a fresh processor, the patch is the same to the bit; bindings are not part of it.
    auto other = makeProcessor();
    other->applyPresetFile(file.getFullPathName());
    for (int i = 0; i < QuorvelAudioProcessor::numParameters; ++i)
        EXPECT_EQ(bits(other->getParameter(i)), bits(normalised(i))) << i;
    EXPECT_EQ(other->presetName.get(), "Every Value");
    EXPECT_EQ(other->params[3]->midiCC, -1);
}

TEST_F(PresetBarTest, ACancelledSaveWritesNothingButStillRescansTheFolder)
{
    processor->presetName.set("Kept");
    click(*bar.saveButton);
    // Another program adds a preset while the dialog is open.
    ASSERT_TRUE(writePreset(*processor, "Elsewhere", presets.getChildFile("Elsewhere.vxp")));
    processor->presetListChanged = false;

    script.cancelFile();

    EXPECT_EQ(presetFiles().size(), 1);
    EXPECT_EQ(processor->presetName.get(), "Kept");
    EXPECT_EQ(processor->presetMenuNames, juce::StringArray("Elsewhere"));
    EXPECT_TRUE(processor->presetListChanged);
}

TEST_F(PresetBarTest, AReplacedExtensionAsksBeforeOverwritingTheFileActuallyWritten)
{
    const auto existing = presets.getChildFile("Dark.vxp");
    ASSERT_TRUE(writePreset(*processor, "Old Dark", existing));
    const auto before = existing.loadFileAsString();
    processor->presetName.set("Current");
    setNormalised(7, 0.25f);

    // Declined: nothing is written and the name stays, but the folder is still rescanned.
    click(*bar.saveButton);
    script.chooseFile(presets.getChildFile("Dark.Pad"));
    ASSERT_EQ(script.overwriteQuestions.size(), 1u);
    EXPECT_EQ(script.overwriteQuestions[0], existing);
    processor->presetListChanged = false;
    script.answerOverwrite(false);
    EXPECT_EQ(existing.loadFileAsString(), before);
    EXPECT_EQ(processor->presetName.get(), "Current");
    EXPECT_TRUE(processor->presetListChanged);

    // Confirmed: written under the preset extension.
    click(*bar.saveButton);
    script.chooseFile(presets.getChildFile("Dark.Pad"));
    script.answerOverwrite(true);
    EXPECT_EQ(processor->presetName.get(), "Dark");
    EXPECT_EQ(juce::parseXML(existing)->getStringAttribute("PresetName"), "Dark");

    // A new file of the replaced name, or the very file the dialog warned about, needs no second question.
    click(*bar.saveButton);
    script.chooseFile(presets.getChildFile("Light.Pad"));
    click(*bar.saveButton);
    script.chooseFile(existing);
    EXPECT_EQ(script.overwriteQuestions.size(), 2u);
    EXPECT_TRUE(presets.getChildFile("Light.vxp").existsAsFile());
}

TEST_F(PresetBarTest, PreviousAndNextWrapAroundTheList)
{
    addPresets({"a", "b", "c"});
    struct Case
    {
        int start;
        bool next;
        int expected;
    };
    for (const auto& c : {Case{0, false, 2}, Case{2, true, 0}, Case{1, true, 2}, Case{1, false, 0},
                          Case{7, true, 0}, Case{7, false, 6}, Case{-1, true, 0}, Case{-1, false, 2}})
    {
        SCOPED_TRACE(std::to_string(c.start) + (c.next ? " next" : " previous"));
        processor->presetIndex = c.start;
        processor->loadByIndexRequest = false;
        auto& button = c.next ? *bar.nextButton : *bar.previousButton;
        button.setToggleState(false, juce::dontSendNotification);
        click(button);
        EXPECT_EQ(processor->presetIndex, c.expected);
        EXPECT_TRUE(processor->loadByIndexRequest);
        EXPECT_TRUE(button.getToggleState());
    }

    // Without presets the requests find no file; the index is still written.
    presets.deleteRecursively();
    processor->presetManager.update();
    processor->presetIndex = 0;
    click(*bar.previousButton);
    EXPECT_EQ(processor->presetIndex, -1);
    click(*bar.nextButton);
    EXPECT_EQ(processor->presetIndex, 0);
}

TEST_F(PresetBarTest, ThePresetMenuTicksTheCurrentPresetAndRequestsTheOneChosen)
{
    addPresets({"a", "b", "c"});
    processor->presetIndex = 1;

    click(*bar.nameButton);
    EXPECT_EQ(menuItems(script.lastMenu), (std::vector<std::string>{"1 a", "2 b *", "3 c"}));
    EXPECT_EQ(script.lastMenuOptions.getItemThatMustBeVisible(), 2);
    EXPECT_EQ(script.lastMenuOptions.getMinimumWidth(), 80);
    EXPECT_EQ(script.lastMenuOptions.getMaximumNumColumns(), 5);
    EXPECT_EQ(script.lastMenuOptions.getStandardItemHeight(), 15);

    script.pickItem(3);
    EXPECT_EQ(processor->presetIndex, 2);
    EXPECT_TRUE(processor->loadByIndexRequest);

    processor->loadByIndexRequest = false;
    click(*bar.nameButton);
    script.pickItem(0);
    EXPECT_EQ(processor->presetIndex, 2);
    EXPECT_FALSE(processor->loadByIndexRequest);

    // An index outside the list ticks nothing.
    processor->presetIndex = 5;
    click(*bar.nameButton);
    EXPECT_EQ(menuItems(script.lastMenu), (std::vector<std::string>{"1 a", "2 b", "3 c"}));
}

TEST_F(PresetBarTest, TheOptionsMenuOffersTwoResetsInitializeTheFolderAndTheLog)
{
    click(*bar.menuButton);
    EXPECT_EQ(menuItems(script.lastMenu),
              (std::vector<std::string>{"1 RESET AUDIO ROUTING", "2 RESET MOD DEPTHS", "3 INITIALIZE", "-",
                                        "4 OPEN PRESETS DIRECTORY", "5 SHOW LOG FILE"}));
    EXPECT_EQ(script.lastMenuOptions.getItemThatMustBeVisible(), 1);

    // Dismissed: nothing happens.
    setOffDefaultPatch();
    script.pickItem(0);
    EXPECT_TRUE(host.events.empty());
    EXPECT_TRUE(script.revealed.empty());
}

TEST_F(PresetBarTest, TheResetsWriteDefaultsWithoutGesturesOrMessages)
{
    struct Case
    {
        int option;
        std::vector<int> written; // in the order written
        const char* presetName;
    };
    std::vector<int> depths, all;
    for (int slot = 0; slot < ParameterTable::numModSlots; ++slot)
        depths.push_back(ParameterTable::modDepthIndex(slot));
    for (int i = 0; i < QuorvelAudioProcessor::numParameters; ++i)
        all.push_back(i);

    for (const auto& c :
         {Case{PresetComponent::resetAudioRouting,
               {118, 120, 122, 124, 126, 128, 130, 40, 41, 119, 121, 123, 125, 127, 129, 131, 42},
               "Before"},
          Case{PresetComponent::resetModDepths, depths, "Before"},
          Case{PresetComponent::initialize, all, "Init"}})
    {
        SCOPED_TRACE(c.option);
        setOffDefaultPatch();
        processor->presetName.set("Before");
        processor->newMessage = false;

        pickOption(c.option);

        HostEventLog expectedLog;
        for (const int i : c.written)
            expectedLog.add("set", i,
                            c.option == PresetComponent::resetModDepths ? 0.0f : param(i).defaultNormalised);
        EXPECT_EQ(host.events, expectedLog.events);
        for (int i = 0; i < QuorvelAudioProcessor::numParameters; ++i)
        {
            const bool written = std::find(c.written.begin(), c.written.end(), i) != c.written.end();
            const float expected = !written                                      ? offDefault(i)
                                   : c.option == PresetComponent::resetModDepths ? 0.0f
                                                                                 : param(i).defaultNormalised;
            EXPECT_EQ(bits(normalised(i)), bits(expected)) << i;
        }
        EXPECT_EQ(processor->presetName.get(), c.presetName);
        EXPECT_FALSE(processor->newMessage);
    }

    // After INITIALIZE the save dialog proposes Init.vxp.
    click(*bar.saveButton);
    EXPECT_EQ(script.fileRequests.back().initialLocation, presets.getChildFile("Init.vxp"));
}

TEST_F(PresetBarTest, ThePresetsFolderAndTheLogFileAreShownInTheFileManager)
{
    pickOption(PresetComponent::openPresetsDirectory);
    ASSERT_EQ(script.revealed.size(), 1u);
    EXPECT_EQ(script.revealed[0], presets);

    pickOption(PresetComponent::showLogFile);
    ASSERT_EQ(script.revealed.size(), 2u);
    const auto log = juce::FileLogger::getSystemLogFileFolder().getChildFile("Tarnwickmodula/QuorvelLog.txt");
    EXPECT_EQ(script.revealed[1], log);
    EXPECT_TRUE(log.loadFileAsString().contains("Tarnwickmodula Quorvel"));
    EXPECT_TRUE(log.loadFileAsString().contains("Quorvel v 1.3"));
}

TEST_F(PresetBarTest, RandomOnlyRaisesTheRequest)
{
    setOffDefaultPatch();
    click(*bar.randomButton);
    EXPECT_TRUE(processor->randomiseRequest);
    EXPECT_TRUE(bar.randomButton->getToggleState());
    EXPECT_TRUE(host.events.empty());
}

TEST_F(PresetBarTest, NamesInScriptsRobotoLacksDrawAsTheirOwnGlyphsOnTheNameButton)
{
    // Roboto draws every character it lacks as one and the same box, so two such names of one length
    // would look alike.
    const auto drawn = [this](const char* name)
    {
        bar.nameButton->setButtonText(juce::CharPointer_UTF8(name));
        return render(*bar.nameButton);
    };
    const std::pair<const char*, const char*> names[] = {
        {"\xe6\x9d\xb1\xe4\xba\xac\xe5\xa4\x9c\xe6\x99\xaf",
         "\xe5\xa4\xa7\xe9\x98\xaa\xe6\x9c\x9d\xe6\x97\xa5"},
        {"\xd7\xa9\xd7\x9c\xd7\x95\xd7\x9d", "\xd7\x91\xd7\x95\xd7\xa7\xd7\xa8"},
        {"\xd8\xb3\xd9\x84\xd8\xa7\xd9\x85", "\xd8\xb5\xd8\xa8\xd8\xa7\xd8\xad"}};
    for (const auto& [first, second] : names)
    {
        SCOPED_TRACE(juce::String(juce::CharPointer_UTF8(first)).toStdString());
        EXPECT_GT(countDifferences(drawn(first), drawn(second)), 20);
    }
}
