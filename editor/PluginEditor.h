#pragma once

#include "editor/BackgroundComponent.h"
#include "editor/ControlsPanel.h"
#include "editor/MidiComponent.h"
#include "editor/PanelSwitcher.h"
#include "editor/PatchPanel.h"
#include "editor/PresetComponent.h"
#include "editor/TWLookAndFeel.h"

#include <juce_audio_processors/juce_audio_processors.h>

class QuorvelAudioProcessor;

/** The plug-in's fixed 920 x 600 window: the module and matrix pages, the page switch, the MIDI-learn and
    preset bars, the logos, the version label and two message lines. The processor creates it for the
    host. It is the drag container of every source chip, and it polls the processor: timer 0 brings the
    window up to date every 50 ms, timer 1 hides the message lines again. */
class QuorvelAudioProcessorEditor : public juce::AudioProcessorEditor,
                                    public juce::DragAndDropContainer,
                                    public juce::Button::Listener,
                                    public juce::MultiTimer
{
public:
    enum TimerId
    {
        refreshTimer = 0,
        messageTimer = 1
    };

    explicit QuorvelAudioProcessorEditor(QuorvelAudioProcessor* owner);
    ~QuorvelAudioProcessorEditor() override;

    void paint(juce::Graphics& g) override;
    void resized() override;
    void timerCallback(int timerID) override;
    void buttonClicked(juce::Button* button) override;

    QuorvelAudioProcessor* processor = nullptr;
    vesk::TWLook look;
    BackgroundComponent background;
    PatchPanel patchPanel;
    ControlsPanel controlsPanel;
    PanelSwitcher panelSwitcher;
    MidiComponent midiComponent;
    PresetComponent presetComponent;
    std::unique_ptr<juce::Drawable> makerLogo;
    std::unique_ptr<juce::Drawable> productLogo;
    juce::Label versionLabel;
    juce::Label messageLine1;
    juce::Label messageLine2;
    int messageTicks = 0;

private:
    void wireModulePage();
    void wireMatrixPage();

    void tick();
    void serveRequestsWhileNoAudioRuns();
    void refreshModulePage();
    void refreshMatrixPage();
    void rebuildPresetMenu();
    void applyDeferredPreset();
    void switchOffFlashingButtons();
    void showNewMessage();
    void messageTimeout();

    // Two ticks (at least 100 ms) without a block start mean that no audio runs.
    static constexpr int ticksWithoutAudio = 2;
    uint32_t blocksSeen = 0;
    int ticksWithoutBlocks = 0;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(QuorvelAudioProcessorEditor)
};
