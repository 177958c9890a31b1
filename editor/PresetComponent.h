#pragma once

#include "editor/PresetDialogs.h"

#include <juce_gui_basics/juce_gui_basics.h>

class QuorvelAudioProcessor;

/** The preset bar under the pages: the current preset's name (opening the preset menu), previous and
    next, load and save dialogs, randomise, and the options menu with its resets, INITIALIZE and the
    presets folder and log file. A preset file dropped on it is loaded. The editor window places it,
    writes its processor pointer, and on every tick writes the name, rebuilds the menu and switches the
    flashing buttons off again. */
class PresetComponent : public juce::Component,
                        public juce::FileDragAndDropTarget,
                        public juce::Button::Listener
{
public:
    PresetComponent();
    ~PresetComponent() override;

    void paint(juce::Graphics& g) override;
    void resized() override;
    bool isInterestedInFileDrag(const juce::StringArray& files) override;
    void filesDropped(const juce::StringArray& files, int x, int y) override;
    void buttonClicked(juce::Button* button) override;

    /** Refills presetMenu from the processor's menu copy of the preset names, ticking the current index. */
    void fillPresetMenu();

    /** The options menu's items. */
    enum Option
    {
        resetAudioRouting = 1,
        resetModDepths,
        initialize,
        openPresetsDirectory,
        showLogFile
    };

    QuorvelAudioProcessor* processor = nullptr;
    bool menuDirty = false;
    juce::PopupMenu presetMenu;
    std::unique_ptr<juce::TextButton> randomButton;
    std::unique_ptr<juce::TextButton> loadButton;
    std::unique_ptr<juce::TextButton> saveButton;
    std::unique_ptr<juce::TextButton> previousButton;
    std::unique_ptr<juce::TextButton> nextButton;
    std::unique_ptr<juce::TextButton> menuButton;
    std::unique_ptr<juce::TextButton> nameButton;

    /** Where the dialogs and menus come from; replaceable so tests can answer them. */
    std::unique_ptr<PresetDialogs> dialogs = std::make_unique<PresetDialogs>();

private:
    void openLoadDialog();
    void openSaveDialog();
    void saveChosenFile(const juce::File& chosen);
    void savePreset(const juce::File& target);
    void rescanPresets();
    void previousPreset();
    void nextPreset();
    void openPresetMenu();
    void openOptionsMenu();
    void runOption(int option);
    void setToDefault(int index);
    void writeLogAndReveal();

    /** Wraps an answer so that it runs only while the bar still exists: the window may close while a
        dialog or menu is open, and a late answer must touch nothing that is gone. */
    template <typename Action> auto whileAlive(Action action);

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(PresetComponent)
};
