#include "editor/PluginEditor.h"

#include "BinaryData.h"
#include "editor/EditorPalette.h"
#include "editor/ModDepthComponent.h"
#include "editor/ModTargetComponent.h"
#include "plugin/PluginProcessor.h"

namespace
{
const juce::Rectangle<float> makerLogoArea{600.0f, 530.0f, 200.0f, 60.0f};
const juce::Rectangle<float> productLogoArea{100.0f, 530.0f, 200.0f, 60.0f};

void setUpMessageLine(juce::Component& editor, juce::Label& line, juce::Rectangle<int> bounds)
{
    editor.addChildComponent(line);
    line.setBounds(bounds);
    line.setJustificationType(juce::Justification::centredLeft);
    line.setColour(juce::Label::textColourId, EditorPalette::grey);
    line.setColour(juce::Label::backgroundColourId, EditorPalette::black);
    line.setFont(juce::Font(12.0f, juce::Font::plain));
}
} // namespace

QuorvelAudioProcessorEditor::QuorvelAudioProcessorEditor(QuorvelAudioProcessor* owner)
    : juce::AudioProcessorEditor(owner)
{
    setSize(920, 600);
    processor = owner;

    // The look sets its colour table itself; installed as the default too, so every font resolves to
    // the embedded typeface.
    look.install(*this);

    // Every page and control holds the processor before it is shown and before the first tick.
    wireModulePage();
    addChildComponent(controlsPanel);
    controlsPanel.setBounds(0, 0, 920, 520);
    controlsPanel.setVisible(true);
    controlsPanel.setOpaque(true);

    wireMatrixPage();
    addChildComponent(patchPanel);
    patchPanel.setBounds(0, 0, 920, 520);
    patchPanel.setOpaque(true);

    panelSwitcher.switchButton->addListener(this);
    addAndMakeVisible(panelSwitcher);
    panelSwitcher.setBounds(830, 550, 80, 20);

    midiComponent.processor = processor;
    addAndMakeVisible(midiComponent);
    midiComponent.setBounds(0, 520, 100, 80);

    presetComponent.processor = processor;
    addAndMakeVisible(presetComponent);
    presetComponent.setBounds(360, 520, 200, 80);

    makerLogo =
        juce::Drawable::createFromImageData(BinaryData::TW_Vector_svg, (size_t)BinaryData::TW_Vector_svgSize);
    productLogo = juce::Drawable::createFromImageData(BinaryData::Quorvel_Logo_svg,
                                                      (size_t)BinaryData::Quorvel_Logo_svgSize);

    addAndMakeVisible(versionLabel);
    versionLabel.setBounds(250, 580, 50, 10);
    versionLabel.setJustificationType(juce::Justification::centredRight);
    versionLabel.setColour(juce::Label::textColourId, EditorPalette::grey);
    versionLabel.setFont(juce::Font(10.0f, juce::Font::plain));
    versionLabel.setText(QuorvelAudioProcessor::versionNumber, juce::dontSendNotification);

    // The message lines lie over the product logo (and the version label) and hide them while shown.
    setUpMessageLine(*this, messageLine1, {100, 530, 200, 30});
    setUpMessageLine(*this, messageLine2, {100, 560, 200, 30});

    startTimer(refreshTimer, 50);
}

QuorvelAudioProcessorEditor::~QuorvelAudioProcessorEditor()
{
    makerLogo = nullptr;
    productLogo = nullptr;
    // No component may outlive the look it draws with, nor keep it as the process-wide default.
    look.remove(*this);
}

void QuorvelAudioProcessorEditor::wireModulePage()
{
    // The page hands it on to every panel and to each panel's knobs, slots and scope strip.
    controlsPanel.setProcessor(processor);
}

void QuorvelAudioProcessorEditor::wireMatrixPage()
{
    patchPanel.processor = processor;
    for (int row = 0; row < PatchPanel::numRows; ++row)
    {
        patchPanel.rowTargets[(size_t)row]->processor = processor;
        patchPanel.rowDepths[(size_t)row]->processor = processor;
    }
}

void QuorvelAudioProcessorEditor::paint(juce::Graphics& g)
{
    g.fillAll(EditorPalette::black);
    g.setColour(EditorPalette::grey);
    g.drawRect(juce::Rectangle<float>(0.0f, 0.0f, 920.0f, 600.0f), 1.0f);

    if (makerLogo != nullptr)
        makerLogo->drawWithin(g, makerLogoArea, juce::RectanglePlacement::centred, 1.0f);
    if (productLogo != nullptr)
        productLogo->drawWithin(g, productLogoArea, juce::RectanglePlacement::centred, 1.0f);
}

void QuorvelAudioProcessorEditor::resized() {}

void QuorvelAudioProcessorEditor::buttonClicked(juce::Button* button)
{
    if (button != panelSwitcher.switchButton.get())
        return;

    // The label names the page the next click leads to. The next tick refreshes the page now shown.
    if (button->getToggleState())
    {
        controlsPanel.setVisible(false);
        patchPanel.setVisible(true);
        panelSwitcher.switchLabel->setText("CONTROLS", juce::dontSendNotification);
    }
    else
    {
        patchPanel.setVisible(false);
        controlsPanel.setVisible(true);
        panelSwitcher.switchLabel->setText("MATRIX", juce::dontSendNotification);
    }
}

void QuorvelAudioProcessorEditor::timerCallback(int timerID)
{
    if (timerID == refreshTimer)
        tick();
    else if (timerID == messageTimer)
        messageTimeout();
}

void QuorvelAudioProcessorEditor::tick()
{
    serveRequestsWhileNoAudioRuns();

    if (controlsPanel.isVisible())
        refreshModulePage();
    else
        refreshMatrixPage();

    rebuildPresetMenu();
    applyDeferredPreset();
    presetComponent.nameButton->setButtonText(processor->presetName.get());
    switchOffFlashingButtons();
    showNewMessage();
}

void QuorvelAudioProcessorEditor::serveRequestsWhileNoAudioRuns()
{
    // The bars' requests wait for the next block start. When no block comes (no audio device, a host that
    // suspends a silent track) the tick serves them itself, before it applies a deferred load, so a load by
    // index ends as it does with audio running. While blocks run they keep serving alone.
    const auto blocks = processor->blocksStarted.load();
    if (blocks != blocksSeen)
    {
        blocksSeen = blocks;
        ticksWithoutBlocks = 0;
        return;
    }

    ticksWithoutBlocks = juce::jmin(ticksWithoutBlocks + 1, ticksWithoutAudio);
    if (ticksWithoutBlocks == ticksWithoutAudio)
        processor->serveRequestsWithoutAudio();
}

void QuorvelAudioProcessorEditor::refreshModulePage()
{
    controlsPanel.updateFromPlugin();
}

void QuorvelAudioProcessorEditor::refreshMatrixPage()
{
    for (int row = 0; row < PatchPanel::numRows; ++row)
    {
        patchPanel.rowTargets[(size_t)row]->updateFromPlugin();
        patchPanel.rowDepths[(size_t)row]->updateFromPlugin();
    }
}

void QuorvelAudioProcessorEditor::rebuildPresetMenu()
{
    if (!processor->presetListChanged && !presetComponent.menuDirty)
        return;

    presetComponent.fillPresetMenu();
    processor->presetListChanged = false;
    presetComponent.menuDirty = false;
}

void QuorvelAudioProcessorEditor::applyDeferredPreset()
{
    // The flag goes down before the path is read, so a load handed over meanwhile waits for the next
    // tick instead of being dropped.
    if (!processor->loadPending.exchange(false))
        return;

    // Values and name only: no gestures, no message lines, and the preset index and list stay as they are.
    processor->applyPresetFile(processor->pendingPresetPath.get());
}

void QuorvelAudioProcessorEditor::switchOffFlashingButtons()
{
    // These buttons show pressed from their click until this tick.
    for (auto* button : {presetComponent.saveButton.get(), presetComponent.randomButton.get(),
                         presetComponent.previousButton.get(), presetComponent.nextButton.get(),
                         midiComponent.clearButton.get()})
        if (button->getToggleState())
            button->setToggleState(false, juce::dontSendNotification);
}

void QuorvelAudioProcessorEditor::showNewMessage()
{
    messageLine2.setText(processor->messageValue.get(), juce::dontSendNotification);

    // Lowered before the texts are read: a message raised meanwhile shows at the next tick.
    if (!processor->newMessage.exchange(false))
        return;

    messageLine1.setText(processor->messageName.get(), juce::dontSendNotification);
    messageLine1.setVisible(true);
    messageLine2.setText(processor->messageValue.get(), juce::dontSendNotification);
    messageLine2.setVisible(true);
    startTimer(messageTimer, 1000);
}

void QuorvelAudioProcessorEditor::messageTimeout()
{
    // The lines stay for two periods of this timer after the tick that showed them.
    if (messageTicks > 0)
    {
        messageTicks = 0;
        messageLine1.setVisible(false);
        messageLine2.setVisible(false);
        stopTimer(messageTimer);
    }
    else
    {
        ++messageTicks;
    }
}
