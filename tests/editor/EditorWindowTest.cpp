// The plug-in window: its children, the page switch and every step of the 50 ms refresh.
#include "EditorWindowFixture.h"
#include "editor/ModDepthComponent.h"
#include "editor/ModTargetComponent.h"

#include "BinaryData.h"

#include <thread>

namespace
{
constexpr int filter1Cutoff = 7, multiplier2SourceB = 55, filter2InputSrc = 124, filter2InputLevel = 125,
              lfo1RateModSrc = 96;
} // namespace

TEST_F(EditorWindowTest, AFreshWindowShowsTheModulePageTheBarsAndTheVersion)
{
    EXPECT_EQ(editor->getLocalBounds(), juce::Rectangle<int>(0, 0, 920, 600));
    EXPECT_EQ(processor->getActiveEditor(), editor.get());

    struct Child
    {
        juce::Component* component;
        juce::Rectangle<int> bounds;
        bool visible;
    };
    // Back to front.
    const Child children[] = {
        {&editor->controlsPanel, {0, 0, 920, 520}, true},
        {&editor->patchPanel, {0, 0, 920, 520}, false},
        {&editor->panelSwitcher, {830, 550, 80, 20}, true},
        {&editor->midiComponent, {0, 520, 100, 80}, true},
        {&editor->presetComponent, {360, 520, 200, 80}, true},
        {&editor->versionLabel, {250, 580, 50, 10}, true},
        {&editor->messageLine1, {100, 530, 200, 30}, false},
        {&editor->messageLine2, {100, 560, 200, 30}, false},
    };
    ASSERT_EQ(editor->getNumChildComponents(), 8);
    for (int i = 0; i < 8; ++i)
    {
        SCOPED_TRACE(i);
        EXPECT_EQ(editor->getChildComponent(i), children[i].component);
        EXPECT_EQ(children[i].component->getBounds(), children[i].bounds);
        EXPECT_EQ(children[i].component->isVisible(), children[i].visible);
    }
    EXPECT_TRUE(editor->controlsPanel.isOpaque());
    EXPECT_TRUE(editor->patchPanel.isOpaque());
    EXPECT_EQ(editor->background.getParentComponent(), nullptr);
    EXPECT_EQ(editor->background.getName(), "BackgroundComponent");

    EXPECT_EQ(editor->panelSwitcher.switchLabel->getText(), "MATRIX");
    EXPECT_EQ(editor->versionLabel.getText(), "v 1.3");
    EXPECT_EQ(editor->versionLabel.getJustificationType(),
              juce::Justification(juce::Justification::centredRight));
    EXPECT_EQ(editor->versionLabel.getFont().getHeight(), 10.0f);
    for (auto* line : {&editor->messageLine1, &editor->messageLine2})
    {
        EXPECT_EQ(line->getText(), "");
        EXPECT_EQ(line->getFont().getHeight(), 12.0f);
        EXPECT_EQ(line->findColour(juce::Label::backgroundColourId), juce::Colour(0xff000000));
    }
    EXPECT_NE(editor->makerLogo, nullptr);
    EXPECT_NE(editor->productLogo, nullptr);

    // The look draws the whole window, as its own and as the default.
    EXPECT_EQ(&editor->getLookAndFeel(), &editor->look);
    EXPECT_EQ(&juce::LookAndFeel::getDefaultLookAndFeel(), &editor->look);

    // Every control that reads or writes a parameter holds the processor before the first tick.
    EXPECT_EQ(editor->midiComponent.processor, processor.get());
    EXPECT_EQ(editor->presetComponent.processor, processor.get());
    EXPECT_EQ(editor->patchPanel.processor, processor.get());
    for (int row = 0; row < PatchPanel::numRows; ++row)
    {
        EXPECT_EQ(editor->patchPanel.rowTargets[(size_t)row]->processor, processor.get());
        EXPECT_EQ(editor->patchPanel.rowDepths[(size_t)row]->processor, processor.get());
    }
    const auto& page = editor->controlsPanel;
    for (const auto* held :
         {page.processor, page.buffer2->processor, page.buffer2->ratioKnob->processor,
          page.buffer2->ratioDepth->processor, page.filter1->knob3->processor,
          page.crusher2->modTarget1->processor, page.dryWet->scope.processor,
          page.dryWet->levelKnob->processor, page.lfo4->waveKnob->processor,
          page.lfo4->rateModDepth->processor, page.mixer3->mixKnob->processor, page.multiplier2->processor})
        EXPECT_EQ(held, processor.get());
    EXPECT_TRUE(editor->isTimerRunning(QuorvelAudioProcessorEditor::refreshTimer));
    EXPECT_EQ(editor->getTimerInterval(QuorvelAudioProcessorEditor::refreshTimer), 50);
    EXPECT_FALSE(editor->isTimerRunning(QuorvelAudioProcessorEditor::messageTimer));
}

TEST_F(EditorWindowTest, ClosingTheWindowGivesBackTheDefaultLookAndAReopenedWindowStartsOver)
{
    switchPage();
    closeEditor();
    EXPECT_EQ(processor->getActiveEditor(), nullptr);
    EXPECT_EQ(dynamic_cast<vesk::TWLook*>(&juce::LookAndFeel::getDefaultLookAndFeel()), nullptr);

    openEditor();
    EXPECT_TRUE(editor->controlsPanel.isVisible());
    EXPECT_FALSE(editor->patchPanel.isVisible());
    EXPECT_EQ(editor->panelSwitcher.switchLabel->getText(), "MATRIX");
}

TEST_F(EditorWindowTest, TheSwitchAlternatesBetweenThePagesWithoutRefreshingThem)
{
    processor->setParameter(filter2InputSrc, 5.0f / 17.0f);
    auto& row = *editor->patchPanel.rowTargets[3];
    ASSERT_EQ(row.paramIndex, filter2InputSrc);

    for (int click = 1; click <= 4; ++click)
    {
        switchPage();
        const bool matrix = click % 2 == 1;
        EXPECT_EQ(editor->patchPanel.isVisible(), matrix) << click;
        EXPECT_EQ(editor->controlsPanel.isVisible(), !matrix) << click;
        EXPECT_EQ(editor->panelSwitcher.switchLabel->getText(), matrix ? "CONTROLS" : "MATRIX") << click;
        EXPECT_EQ(row.text, "None") << "refreshed by the switch itself";
    }

    // Another button the window hears changes nothing.
    juce::TextButton stranger;
    stranger.setToggleState(true, juce::dontSendNotification);
    editor->buttonClicked(&stranger);
    EXPECT_TRUE(editor->controlsPanel.isVisible());
}

TEST_F(EditorWindowTest, ATickRefreshesOnlyTheVisiblePage)
{
    auto& target = *editor->patchPanel.rowTargets[3];
    auto& depth = *editor->patchPanel.rowDepths[3];
    auto& cutoff = *editor->controlsPanel.filter1->knob2->slider;
    auto& lastBox = *editor->controlsPanel.multiplier2->sourceBBox;
    processor->setParameter(filter2InputSrc, 5.0f / 17.0f);
    processor->setParameter(filter2InputLevel, 0.375f);
    processor->setParameter(filter1Cutoff, 0.25f);
    processor->setParameter(multiplier2SourceB, 9.0f / 17.0f);

    tick();
    EXPECT_EQ(cutoff.getValue(), 0.25);
    EXPECT_EQ(lastBox.getSelectedItemIndex(), 9);
    EXPECT_EQ(target.text, "None");
    EXPECT_EQ(depth.label->getText(), "");

    switchPage();
    tick();
    EXPECT_EQ(target.text, "FILTER 2");
    EXPECT_EQ(depth.label->getText(), "37.50 %");
    EXPECT_EQ(depth.slider->getValue(), 0.375);

    // Every one of the 38 rows follows, and nothing is written back.
    host.events.clear();
    for (int row = 0; row < PatchPanel::numRows; ++row)
        processor->setParameter(editor->patchPanel.rowTargets[(size_t)row]->paramIndex, 16.0f / 17.0f);
    tick();
    for (int row = 0; row < PatchPanel::numRows; ++row)
        EXPECT_EQ(editor->patchPanel.rowTargets[(size_t)row]->text, "MULTIPLIER 1") << row;
    EXPECT_TRUE(host.events.empty());
    EXPECT_FALSE(processor->newMessage);

    // Meanwhile the module page kept what it last showed, until it is shown again; then the rows keep theirs.
    processor->setParameter(filter1Cutoff, 0.5f);
    tick();
    EXPECT_EQ(cutoff.getValue(), 0.25);
    switchPage();
    processor->setParameter(filter2InputSrc, 0.0f);
    tick();
    EXPECT_EQ(cutoff.getValue(), 0.5);
    EXPECT_EQ(target.text, "MULTIPLIER 1");
}

TEST_F(EditorWindowTest, ATickRebuildsThePresetMenuOnlyWhenAskedTo)
{
    auto& bar = editor->presetComponent;
    processor->presetMenuNames = juce::StringArray{"a", "b"};
    processor->presetIndex = 1;
    processor->presetListChanged = false;
    ASSERT_TRUE(bar.menuDirty);

    tick();
    EXPECT_EQ(menuItems(bar.presetMenu), (std::vector<std::string>{"1 a", "2 b *"}));
    EXPECT_FALSE(bar.menuDirty);

    processor->presetMenuNames = juce::StringArray{"c"};
    tick();
    EXPECT_EQ(menuItems(bar.presetMenu), (std::vector<std::string>{"1 a", "2 b *"}));

    processor->presetListChanged = true;
    processor->presetIndex = 4;
    tick();
    EXPECT_EQ(menuItems(bar.presetMenu), (std::vector<std::string>{"1 c"}));
    EXPECT_FALSE(processor->presetListChanged);

    processor->presetMenuNames.clear();
    bar.menuDirty = true;
    tick();
    EXPECT_TRUE(menuItems(bar.presetMenu).empty());
    EXPECT_FALSE(bar.menuDirty);
    EXPECT_FALSE(processor->presetListChanged);
}

TEST_F(EditorWindowTest, ATickAppliesADeferredPresetWithoutGesturesOrMessages)
{
    for (int i = 0; i < QuorvelAudioProcessor::numParameters; ++i)
        processor->setParameter(i, 0.5f);
    const auto file = writePreset("Deferred");
    for (int i = 0; i < QuorvelAudioProcessor::numParameters; ++i)
        processor->setParameter(i, param(i).defaultNormalised);
    processor->presetIndex = 3;
    host.events.clear();

    processor->pendingPresetPath.set(file.getFullPathName());
    processor->loadPending = true;
    tick();

    for (int i = 0; i < QuorvelAudioProcessor::numParameters; ++i)
        EXPECT_EQ(bits(processor->getParameter(i)), bits(0.5f)) << i;
    HostEventLog expected;
    for (int i = 0; i < QuorvelAudioProcessor::numParameters; ++i)
        expected.add("set", i, 0.5f);
    EXPECT_EQ(host.events, expected.events);
    EXPECT_EQ(processor->presetName.get(), "Deferred");
    EXPECT_EQ(editor->presetComponent.nameButton->getButtonText(), "Deferred")
        << "the name shows in the same tick";
    EXPECT_FALSE(processor->loadPending);
    EXPECT_FALSE(processor->newMessage);
    EXPECT_EQ(processor->presetIndex, 3);
}

TEST_F(EditorWindowTest, WithoutAudioTheTicksServeTheBarsRequests)
{
    // No block ever comes, as in the Standalone without an audio device.
    auto& bar = editor->presetComponent;
    for (int i = 0; i < QuorvelAudioProcessor::numParameters; ++i)
        processor->setParameter(i, 0.25f);
    writePreset("A");
    for (int i = 0; i < QuorvelAudioProcessor::numParameters; ++i)
        processor->setParameter(i, 0.5f);
    writePreset("B");
    processor->presetManager.update();
    param(3).midiCC = 20;

    // Load by index, clear and randomise at once: as with audio running, the randomised values give way
    // to the preset, which the same tick applies.
    click(*bar.nextButton, bar);
    click(*bar.randomButton, bar);
    click(*editor->midiComponent.clearButton, editor->midiComponent);
    tick();
    tick();
    EXPECT_FALSE(processor->loadByIndexRequest);
    EXPECT_FALSE(processor->clearAllRequest);
    EXPECT_FALSE(processor->randomiseRequest);
    EXPECT_EQ(processor->presetName.get(), "B");
    for (int i = 0; i < QuorvelAudioProcessor::numParameters; ++i)
        EXPECT_EQ(bits(processor->getParameter(i)), bits(0.5f)) << i;
    EXPECT_EQ(param(3).midiCC, -1);

    // Once the audio is known to stand still, the next tick serves a request.
    click(*bar.randomButton, bar);
    tick();
    EXPECT_FALSE(processor->randomiseRequest);
    EXPECT_NE(bits(processor->getParameter(0)), bits(0.5f));
    EXPECT_EQ(bits(processor->getParameter(18)), bits(0.5f)) << "randomise keeps Dry_Wet";

    click(*bar.previousButton, bar);
    tick();
    EXPECT_EQ(processor->presetName.get(), "A");
    EXPECT_EQ(bits(processor->getParameter(0)), bits(0.25f));
}

TEST_F(EditorWindowTest, WhileBlocksRunTheRequestsWaitForTheNextBlockStart)
{
    auto& bar = editor->presetComponent;
    for (int round = 0; round < 4; ++round)
    {
        runBlock();
        const auto before = processor->getParameter(0);
        click(*bar.randomButton, bar);
        tick();
        EXPECT_TRUE(processor->randomiseRequest) << round;
        EXPECT_EQ(bits(processor->getParameter(0)), bits(before)) << round;
    }
    runBlock();
    EXPECT_FALSE(processor->randomiseRequest);
}

TEST_F(EditorWindowTest, TheTicksNeverWaitForABlockHoldingTheCallbackLock)
{
    // A wrapper holds the lock around every block: while it does, the tick leaves the request to it.
    juce::WaitableEvent locked, released;
    std::thread audio(
        [&]
        {
            const juce::ScopedLock lock(processor->getCallbackLock());
            locked.signal();
            released.wait();
        });
    locked.wait();
    processor->randomiseRequest = true;
    for (int t = 0; t < 4; ++t)
        tick();
    EXPECT_TRUE(processor->randomiseRequest);

    released.signal();
    audio.join();
    tick();
    EXPECT_FALSE(processor->randomiseRequest);
}

TEST_F(EditorWindowTest, ADeferredPresetIsReadByTheFileRules)
{
    const auto load = [this](const juce::String& text)
    {
        const auto file = presets.getChildFile("hand written.vxp");
        file.replaceWithText(text);
        for (int i = 0; i < QuorvelAudioProcessor::numParameters; ++i)
            processor->setParameter(i, 0.75f);
        processor->presetName.set("Before");
        processor->pendingPresetPath.set(file.getFullPathName());
        processor->loadPending = true;
        tick();
        EXPECT_FALSE(processor->loadPending);
    };

    // Letter case of the tag does not matter; a missing value takes the default, a missing name is a space.
    load("<volkaris_preset Filter1_Cutoff=\"0.25\" Buffer1_Size=\"0.3x\"/>");
    EXPECT_EQ(bits(processor->getParameter(7)), bits(0.25f));
    EXPECT_EQ(bits(processor->getParameter(0)), bits(0.3f));
    EXPECT_EQ(bits(processor->getParameter(8)), bits(param(8).defaultNormalised));
    EXPECT_EQ(processor->presetName.get(), " ");

    // Neither another tag, nor a file cut short, nor a missing file changes anything.
    for (const auto* text : {"<VOLKARIS_STATE PresetName=\"x\" Filter1_Cutoff=\"0.25\"/>",
                             "<VOLKARIS_PRESET PresetName=\"x\" Filter1_Cutoff=\"0.2", "not xml"})
    {
        load(text);
        EXPECT_EQ(bits(processor->getParameter(7)), bits(0.75f)) << text;
        EXPECT_EQ(processor->presetName.get(), "Before") << text;
    }
    processor->pendingPresetPath.set(presets.getChildFile("missing.vxp").getFullPathName());
    processor->loadPending = true;
    tick();
    EXPECT_FALSE(processor->loadPending);
    EXPECT_EQ(processor->presetName.get(), "Before");
}

TEST_F(EditorWindowTest, ATickShowsThePresetNameAndSwitchesOffTheFlashingButtonsSilently)
{
    auto& bar = editor->presetComponent;
    auto& midi = editor->midiComponent;
    processor->presetName.set("Shown");
    tick();
    EXPECT_EQ(bar.nameButton->getButtonText(), "Shown");

    click(*bar.saveButton, bar);
    script.cancelFile();
    for (auto* button : {bar.randomButton.get(), bar.previousButton.get(), bar.nextButton.get(),
                         midi.clearButton.get(), midi.learnButton.get()})
        click(*button, midi);
    processor->randomiseRequest = false;
    processor->loadByIndexRequest = false;
    processor->clearAllRequest = false;
    processor->presetListChanged = false;

    tick();
    for (auto* button : {bar.saveButton.get(), bar.randomButton.get(), bar.previousButton.get(),
                         bar.nextButton.get(), midi.clearButton.get()})
        EXPECT_FALSE(button->getToggleState()) << button->getButtonText();
    EXPECT_TRUE(midi.learnButton->getToggleState()) << "a latch, not a flash";
    EXPECT_TRUE(processor->learnMode);
    EXPECT_FALSE(processor->randomiseRequest);
    EXPECT_FALSE(processor->loadByIndexRequest);
    EXPECT_FALSE(processor->clearAllRequest);
    EXPECT_FALSE(processor->presetListChanged);
    EXPECT_TRUE(script.fileRequests.size() == 1u);
}

TEST_F(EditorWindowTest, MessageLinesShowForTwoTimeoutsAndANewMessageReplacesTheTexts)
{
    auto& line1 = editor->messageLine1;
    auto& line2 = editor->messageLine2;
    processor->messageName.set("CUTOFF");
    processor->messageValue.set("440.00 Hz");
    processor->newMessage = true;

    tick();
    EXPECT_TRUE(line1.isVisible());
    EXPECT_TRUE(line2.isVisible());
    EXPECT_EQ(line1.getText(), "CUTOFF");
    EXPECT_EQ(line2.getText(), "440.00 Hz");
    EXPECT_FALSE(processor->newMessage);
    EXPECT_TRUE(editor->isTimerRunning(QuorvelAudioProcessorEditor::messageTimer));
    EXPECT_EQ(editor->getTimerInterval(QuorvelAudioProcessorEditor::messageTimer), 1000);

    timeout();
    EXPECT_TRUE(line1.isVisible());
    EXPECT_EQ(editor->messageTicks, 1);

    // Raised after the first timeout: new texts, and gone at the next timeout.
    processor->messageName.set("MIX");
    processor->messageValue.set("12.00 %");
    processor->newMessage = true;
    tick();
    EXPECT_EQ(line1.getText(), "MIX");
    EXPECT_EQ(line2.getText(), "12.00 %");
    timeout();
    EXPECT_FALSE(line1.isVisible());
    EXPECT_FALSE(line2.isVisible());
    EXPECT_EQ(editor->messageTicks, 0);
    EXPECT_FALSE(editor->isTimerRunning(QuorvelAudioProcessorEditor::messageTimer));

    // The second line follows the value on every tick, shown or not; other timer ids do nothing.
    processor->messageValue.set("13.00 %");
    processor->newMessage = true;
    editor->timerCallback(7);
    EXPECT_TRUE(processor->newMessage);
    processor->newMessage = false;
    tick();
    EXPECT_EQ(line2.getText(), "13.00 %");
    EXPECT_FALSE(line2.isVisible());
}

TEST_F(EditorWindowTest, SavedAndLoadedThroughTheDialogsInTheTemporaryHome)
{
    auto& bar = editor->presetComponent;
    processor->setParameter(lfo1RateModSrc, 10.0f / 17.0f);
    processor->setParameter(7, 0.125f);

    click(*bar.saveButton, bar);
    script.chooseFile(presets.getChildFile("Round Trip"));
    tick();
    EXPECT_EQ(bar.nameButton->getButtonText(), "Round Trip");
    EXPECT_EQ(menuItems(bar.presetMenu), (std::vector<std::string>{"1 Round Trip *"}));

    processor->setParameter(lfo1RateModSrc, 0.0f);
    processor->setParameter(7, 1.0f);
    processor->presetName.set("Changed");

    click(*bar.loadButton, bar);
    const auto& request = script.fileRequests.back();
    EXPECT_EQ(request.title, "Load Preset");
    EXPECT_EQ(request.initialLocation, juce::File::getSpecialLocation(juce::File::userHomeDirectory));
    EXPECT_EQ(request.filter, "*.vxp");
    EXPECT_FALSE(request.forSaving);
    script.chooseFile(presets.getChildFile("Round Trip.vxp"));

    // With the window open, the load waits for the next tick.
    EXPECT_TRUE(processor->loadPending);
    EXPECT_EQ(bits(processor->getParameter(7)), bits(1.0f));
    tick();
    EXPECT_EQ(bits(processor->getParameter(7)), bits(0.125f));
    EXPECT_EQ(bits(processor->getParameter(lfo1RateModSrc)), bits(10.0f / 17.0f));
    EXPECT_EQ(bar.nameButton->getButtonText(), "Round Trip");

    // A cancelled load changes nothing.
    click(*bar.loadButton, bar);
    script.cancelFile();
    EXPECT_FALSE(processor->loadPending);
}

TEST_F(EditorWindowTest, OnlyAFirstDroppedFileWithTheExactPresetExtensionLoads)
{
    const auto preset = writePreset("Dropped");
    const auto upper = presets.getChildFile("Upper.VXP");
    ASSERT_TRUE(preset.copyFileTo(upper));
    const auto text = presets.getChildFile("notes.txt");
    text.replaceWithText("x");

    for (const auto& files : {juce::StringArray(upper.getFullPathName()), juce::StringArray(),
                              juce::StringArray(text.getFullPathName(), preset.getFullPathName()),
                              juce::StringArray(presets.getChildFile("vxp").getFullPathName())})
    {
        editor->presetComponent.filesDropped(files, 10, 10);
        EXPECT_FALSE(processor->loadPending) << files.joinIntoString(",");
    }

    editor->presetComponent.filesDropped({preset.getFullPathName(), text.getFullPathName()}, 10, 10);
    EXPECT_TRUE(processor->loadPending);
    EXPECT_EQ(processor->pendingPresetPath.get(), preset.getFullPathName());
}

TEST_F(EditorWindowTest, AnAnswerArrivingAfterTheWindowClosedTouchesNothing)
{
    auto& bar = editor->presetComponent;
    processor->presetName.set("Open");
    const auto before = processor->getParameter(7);

    // A save dialog, an overwrite question and the options menu, all left open as the window closes.
    click(*bar.saveButton, bar);
    auto saveAnswer = std::exchange(script.pendingFile, nullptr);
    writePreset("Taken");
    click(*bar.saveButton, bar);
    script.chooseFile(presets.getChildFile("Taken.txt"));
    auto overwriteAnswer = std::exchange(script.pendingOverwrite, nullptr);
    click(*bar.menuButton, bar);
    auto menuAnswer = std::exchange(script.pendingMenu, nullptr);
    ASSERT_TRUE(saveAnswer && overwriteAnswer && menuAnswer);

    closeEditor();
    processor->presetListChanged = false;
    saveAnswer(presets.getChildFile("Late"));
    overwriteAnswer(true);
    menuAnswer(PresetComponent::initialize);

    EXPECT_FALSE(presets.getChildFile("Late.vxp").exists());
    EXPECT_EQ(processor->presetName.get(), "Open");
    EXPECT_EQ(processor->getParameter(7), before);
    EXPECT_FALSE(processor->presetListChanged);
}

TEST_F(EditorWindowTest, RendersBothPagesAsTheUserSeesThem)
{
    processor->presetName.set("Init");
    tick();
    const auto modulePage = render(*editor);
    writePng(modulePage, "window-module-page.png");

    switchPage();
    tick();
    const auto matrixPage = render(*editor);
    writePng(matrixPage, "window-matrix-page.png");

    // The frame, the pages above y 520 and the bottom strip with the switch's frame.
    const juce::Colour grey{0xffaeaeae};
    EXPECT_TRUE(near(matrixPage.getPixelAt(0, 590), grey));
    EXPECT_TRUE(near(matrixPage.getPixelAt(830, 560), grey));
    EXPECT_TRUE(near(matrixPage.getPixelAt(229, 300), grey));
    EXPECT_EQ(matrixPage.getPixelAt(320, 530), juce::Colour(0xff000000));
}

TEST_F(EditorWindowTest, TheColoursOfTheFrameworksDialogsChangeNoPixelOfEitherPage)
{
    processor->presetName.set("Init");
    const auto withDialogColours = renderBothPages();

    // The same window with the base's colours for the alert window, the file chooser and its browser.
    const juce::LookAndFeel_V2 base;
    for (const int id : std::initializer_list<int>{
             juce::AlertWindow::backgroundColourId, juce::AlertWindow::textColourId,
             juce::AlertWindow::outlineColourId, juce::FileChooserDialogBox::titleTextColourId,
             juce::FileBrowserComponent::currentPathBoxBackgroundColourId,
             juce::FileBrowserComponent::currentPathBoxTextColourId,
             juce::FileBrowserComponent::currentPathBoxArrowColourId,
             juce::FileBrowserComponent::filenameBoxBackgroundColourId,
             juce::FileBrowserComponent::filenameBoxTextColourId})
        editor->look.setColour(id, base.findColour(id));
    const auto withBaseColours = renderBothPages();

    for (size_t page = 0; page < 2; ++page)
    {
        ASSERT_EQ(withDialogColours[page].getBounds(), withBaseColours[page].getBounds());
        EXPECT_EQ(countDifferences(withDialogColours[page], withBaseColours[page]), 0) << "page " << page;
    }
}

TEST_F(EditorWindowTest, TheFallbackForCharactersRobotoLacksChangesNoPixelOfEitherPage)
{
    // Every page text is one Roboto has: the window must draw as with Roboto alone.
    struct RobotoAlone : juce::LookAndFeel_V2
    {
        juce::Typeface::Ptr getTypefaceForFont(const juce::Font&) override { return roboto; }
        juce::Typeface::Ptr roboto = juce::Typeface::createSystemTypefaceFor(
            BinaryData::RobotoRegular_ttf, (size_t)BinaryData::RobotoRegular_ttfSize);
    };

    processor->presetName.set("Init");
    const auto withFallback = renderBothPages();

    // The framework resolves every font's typeface through the default look alone.
    RobotoAlone robotoAlone;
    juce::LookAndFeel::setDefaultLookAndFeel(&robotoAlone);
    juce::Typeface::clearTypefaceCache();
    const auto withRobotoAlone = renderBothPages();
    juce::LookAndFeel::setDefaultLookAndFeel(&editor->look);
    juce::Typeface::clearTypefaceCache();

    for (size_t page = 0; page < 2; ++page)
    {
        ASSERT_EQ(withFallback[page].getBounds(), withRobotoAlone[page].getBounds());
        EXPECT_EQ(countDifferences(withFallback[page], withRobotoAlone[page]), 0) << "page " << page;
    }
}
