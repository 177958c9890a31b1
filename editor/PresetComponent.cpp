#include "editor/PresetComponent.h"

#include "editor/EditorPalette.h"
#include "editor/PopupMenuPresenter.h"
#include "plugin/LogFile.h"
#include "plugin/ParameterTable.h"
#include "plugin/PluginProcessor.h"

namespace
{
const juce::String presetFilter{"*.vxp"};
constexpr int mixer1SourceA = 40, mixer1SourceB = 41, mixer1Mix = 42;

// Pop-up menus of the bar: at the mouse, at least 80 wide, at most 5 columns, 15-pixel items.
juce::PopupMenu::Options menuOptions(juce::Component& owner, int itemThatMustBeVisible)
{
    return juce::PopupMenu::Options()
        .withMousePosition()
        .withDeletionCheck(owner)
        .withItemThatMustBeVisible(itemThatMustBeVisible)
        .withMinimumWidth(80)
        .withMaximumNumColumns(5)
        .withStandardItemHeight(15);
}
} // namespace

template <typename Action> auto PresetComponent::whileAlive(Action action)
{
    return [bar = juce::Component::SafePointer<PresetComponent>(this), action](auto&&... answer)
    {
        if (bar != nullptr)
            action(*bar, answer...);
    };
}

PresetComponent::PresetComponent()
{
    setName("Preset Component");

    const auto makeButton =
        [this](std::unique_ptr<juce::TextButton>& button, const juce::String& name, const juce::String& text)
    {
        button = std::make_unique<juce::TextButton>(name);
        addAndMakeVisible(*button);
        if (text.isNotEmpty())
            button->setButtonText(juce::translate(text));
        button->addListener(this);
        button->setColour(juce::TextButton::buttonColourId, EditorPalette::grey);
        button->setColour(juce::TextButton::buttonOnColourId, EditorPalette::grey);
        button->setColour(juce::TextButton::textColourOnId, EditorPalette::black);
        button->setColour(juce::TextButton::textColourOffId, EditorPalette::grey);
    };
    makeButton(randomButton, "random button", "?");
    makeButton(loadButton, "load button", "L");
    makeButton(saveButton, "save button", "S");
    makeButton(previousButton, {}, "<");
    makeButton(nextButton, {}, ">");
    makeButton(menuButton, "menu button", "M");
    makeButton(nameButton, {}, {});

    setSize(200, 80);

    for (auto* button : {saveButton.get(), randomButton.get(), previousButton.get(), nextButton.get()})
        button->setClickingTogglesState(true);
    for (auto* button : {randomButton.get(), loadButton.get(), saveButton.get(), previousButton.get(),
                         nextButton.get(), menuButton.get(), nameButton.get()})
        button->setWantsKeyboardFocus(false);

    menuDirty = true;
}

PresetComponent::~PresetComponent() = default;

void PresetComponent::paint(juce::Graphics&) {}

void PresetComponent::resized()
{
    randomButton->setBounds(130, 49, 30, 16);
    loadButton->setBounds(40, 49, 30, 16);
    saveButton->setBounds(0, 49, 30, 16);
    previousButton->setBounds(0, 15, 20, 20);
    nextButton->setBounds(180, 15, 20, 20);
    menuButton->setBounds(170, 49, 30, 16);
    nameButton->setBounds(25, 15, 150, 20);
}

bool PresetComponent::isInterestedInFileDrag(const juce::StringArray&)
{
    return true;
}

void PresetComponent::filesDropped(const juce::StringArray& files, int, int)
{
    // Only the first file counts, and only with the preset extension written exactly so.
    const juce::String path = files[0];
    if (path.isNotEmpty() && juce::File(path).getFileExtension() == ".vxp")
        processor->loadPresetFromFile(path);
}

void PresetComponent::buttonClicked(juce::Button* button)
{
    if (button == randomButton.get())
        processor->randomiseRequest = true;
    else if (button == loadButton.get())
        openLoadDialog();
    else if (button == saveButton.get())
        openSaveDialog();
    else if (button == previousButton.get())
        previousPreset();
    else if (button == nextButton.get())
        nextPreset();
    else if (button == menuButton.get())
        openOptionsMenu();
    else if (button == nameButton.get())
        openPresetMenu();
}

void PresetComponent::fillPresetMenu()
{
    presetMenu.clear();
    const auto names = processor->presetMenuNames;
    const int current = processor->presetIndex;
    for (int i = 0; i < names.size(); ++i)
        presetMenu.addItem(i + 1, names[i], true, i == current);
}

void PresetComponent::openLoadDialog()
{
    const PresetDialogs::FileRequest request{
        "Load Preset", juce::File::getSpecialLocation(juce::File::userHomeDirectory), presetFilter, false};

    dialogs->chooseFile(request, whileAlive(
                                     [](PresetComponent& bar, const juce::File& chosen)
                                     {
                                         if (chosen != juce::File())
                                             bar.processor->loadPresetFromFile(chosen.getFullPathName());
                                     }));
}

void PresetComponent::openSaveDialog()
{
    // The current name, made a legal file name in the product folder.
    const PresetDialogs::FileRequest request{
        "Save Preset", processor->presetManager.proposedFileFor(processor->presetName.get()), presetFilter,
        true};

    dialogs->chooseFile(request, whileAlive([](PresetComponent& bar, const juce::File& chosen)
                                            { bar.saveChosenFile(chosen); }));
}

void PresetComponent::saveChosenFile(const juce::File& chosen)
{
    if (chosen == juce::File())
    {
        rescanPresets();
        return;
    }

    const auto target = processor->presetManager.fileToSave(chosen);

    // The dialog warned about the file it was given; a file we write under another name gets its own
    // warning rather than being replaced silently.
    if (target != chosen && target.exists())
    {
        dialogs->confirmOverwrite(target, whileAlive(
                                              [target](PresetComponent& bar, bool replace)
                                              {
                                                  if (replace)
                                                      bar.savePreset(target);
                                                  bar.rescanPresets();
                                              }));
        return;
    }

    savePreset(target);
    rescanPresets();
}

void PresetComponent::savePreset(const juce::File& target)
{
    // The name changes only when a preset is stored under it; after a failure the user is told, and the
    // bar keeps the name of the patch as it was last loaded or stored.
    const auto name = target.getFileNameWithoutExtension();
    const auto written = processor->writePresetFile(target, name);
    if (written.wasOk())
        processor->presetName.set(name);
    else
        dialogs->reportSaveFailure(target, written.getErrorMessage());
}

void PresetComponent::rescanPresets()
{
    processor->presetManager.update();
    processor->presetMenuNames = processor->presetManager.presetNames;
    processor->presetListChanged = true;
}

void PresetComponent::previousPreset()
{
    const int count = processor->presetManager.presetNames.size();
    const int index = processor->presetIndex;
    processor->presetIndex = index > 0 ? index - 1 : count - 1;
    processor->loadByIndexRequest = true;
}

void PresetComponent::nextPreset()
{
    const int count = processor->presetManager.presetNames.size();
    const int index = processor->presetIndex;
    processor->presetIndex = index < count - 1 ? index + 1 : 0;
    processor->loadByIndexRequest = true;
}

void PresetComponent::openPresetMenu()
{
    fillPresetMenu();
    PopupMenuPresenter::show(presetMenu, menuOptions(*this, processor->presetIndex + 1),
                             whileAlive(
                                 [](PresetComponent& bar, int chosen)
                                 {
                                     if (chosen > 0)
                                     {
                                         bar.processor->presetIndex = chosen - 1;
                                         bar.processor->loadByIndexRequest = true;
                                     }
                                 }));
}

void PresetComponent::openOptionsMenu()
{
    juce::PopupMenu options;
    options.addItem(resetAudioRouting, "RESET AUDIO ROUTING");
    options.addItem(resetModDepths, "RESET MOD DEPTHS");
    options.addItem(initialize, "INITIALIZE");
    options.addSeparator();
    options.addItem(openPresetsDirectory, "OPEN PRESETS DIRECTORY");
    options.addItem(showLogFile, "SHOW LOG FILE");

    PopupMenuPresenter::show(options, menuOptions(*this, resetAudioRouting),
                             whileAlive([](PresetComponent& bar, int chosen) { bar.runOption(chosen); }));
}

void PresetComponent::runOption(int option)
{
    // The resets write without change gestures or message lines.
    switch (option)
    {
    case resetAudioRouting:
        // Mixer 1's sources and mix are part of the default routing; the other mixers are not.
        for (int input = 0; input < ParameterTable::numRoutingInputs; ++input)
            setToDefault(ParameterTable::inputSourceIndex(input));
        setToDefault(mixer1SourceA);
        setToDefault(mixer1SourceB);
        for (int input = 0; input < ParameterTable::numRoutingInputs; ++input)
            setToDefault(ParameterTable::inputLevelIndex(input));
        setToDefault(mixer1Mix);
        break;
    case resetModDepths:
        for (int slot = 0; slot < ParameterTable::numModSlots; ++slot)
            processor->setParameterNotifyingHost(ParameterTable::modDepthIndex(slot), 0.0f);
        break;
    case initialize:
        for (int i = 0; i < QuorvelAudioProcessor::numParameters; ++i)
            setToDefault(i);
        processor->presetName.set("Init");
        break;
    case openPresetsDirectory:
        dialogs->reveal(juce::File(processor->presetManager.productFolder));
        break;
    case showLogFile:
        writeLogAndReveal();
        break;
    default:
        break;
    }
}

void PresetComponent::setToDefault(int index)
{
    processor->setParameterNotifyingHost(index, processor->params.getUnchecked(index)->defaultNormalised);
}

void PresetComponent::writeLogAndReveal()
{
    const auto logger = logFile::openLogger();
    QuorvelAudioProcessor::writeLogSummary(logger.get());
    dialogs->reveal(logger->getLogFile());
}
