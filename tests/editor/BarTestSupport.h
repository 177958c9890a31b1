#pragma once

#include "editor/PopupMenuPresenter.h"
#include "editor/PresetDialogs.h"
#include "plugin/PluginProcessor.h"

#include <functional>
#include <vector>

// Stands in for the user at the preset bar's dialogs and menus (every pop-up menu of the editor while it
// lives). The questions and their pending answers
// live in a script owned by the test, so a test can still answer after the bar is gone.
struct DialogScript
{
    std::vector<PresetDialogs::FileRequest> fileRequests;
    std::function<void(const juce::File&)> pendingFile;

    juce::PopupMenu lastMenu;
    juce::PopupMenu::Options lastMenuOptions;
    std::function<void(int)> pendingMenu;

    std::vector<juce::File> overwriteQuestions;
    std::function<void(bool)> pendingOverwrite;

    struct SaveFailure
    {
        juce::File file;
        juce::String reason;
    };
    std::vector<SaveFailure> saveFailures;

    std::vector<juce::File> revealed;

    void chooseFile(const juce::File& file) { std::exchange(pendingFile, nullptr)(file); }
    void cancelFile() { chooseFile(juce::File()); }
    void pickItem(int id) { std::exchange(pendingMenu, nullptr)(id); }
    void answerOverwrite(bool replace) { std::exchange(pendingOverwrite, nullptr)(replace); }
};

class ScriptedDialogs : public PresetDialogs
{
public:
    explicit ScriptedDialogs(DialogScript& s) : script(s)
    {
        PopupMenuPresenter::replace(
            [&s](const juce::PopupMenu& menu, const juce::PopupMenu::Options& options,
                 std::function<void(int)> answer)
            {
                s.lastMenu = menu;
                s.lastMenuOptions = options;
                s.pendingMenu = std::move(answer);
            });
    }

    ~ScriptedDialogs() override { PopupMenuPresenter::replace({}); }

    void chooseFile(const FileRequest& request, std::function<void(const juce::File&)> answer) override
    {
        script.fileRequests.push_back(request);
        script.pendingFile = std::move(answer);
    }

    void confirmOverwrite(const juce::File& file, std::function<void(bool)> answer) override
    {
        script.overwriteQuestions.push_back(file);
        script.pendingOverwrite = std::move(answer);
    }

    void reportSaveFailure(const juce::File& file, const juce::String& reason) override
    {
        script.saveFailures.push_back({file, reason});
    }

    void reveal(const juce::File& file) override { script.revealed.push_back(file); }

private:
    DialogScript& script;
};

// The items of a menu as "id text" lines, "-" for a separator, with "*" after a ticked item.
inline std::vector<std::string> menuItems(const juce::PopupMenu& menu)
{
    std::vector<std::string> items;
    for (juce::PopupMenu::MenuItemIterator it(menu); it.next();)
    {
        const auto& item = it.getItem();
        if (item.isSeparator)
            items.push_back("-");
        else
            items.push_back(std::to_string(item.itemID) + " " + item.text.toStdString() +
                            (item.isTicked ? " *" : "") + (item.isEnabled ? "" : " (disabled)"));
    }
    return items;
}

// A click as the framework delivers it: a toggling button flips first, then its listeners hear of it.
inline void click(juce::Button& button, juce::Button::Listener& owner)
{
    if (button.getClickingTogglesState())
        button.setToggleState(!button.getToggleState(), juce::sendNotification);
    else
        owner.buttonClicked(&button);
}

// The product's preset folder, emptied and rescanned, so each test starts without presets.
inline juce::File emptyPresetFolder(QuorvelAudioProcessor& processor)
{
    const juce::File folder(processor.presetManager.productFolder);
    folder.deleteRecursively();
    folder.createDirectory();
    processor.presetManager.update();
    return folder;
}

// Writes the current patch as a preset of the given name to a file, the processor's own preset name kept.
inline bool writePreset(QuorvelAudioProcessor& processor, const juce::String& name, const juce::File& file)
{
    return processor.writePresetFile(file, name).wasOk();
}
