#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>

/** How the preset bar asks and tells the user and the desktop: file dialogs, an overwrite warning, a failed
    save, and showing a file in the file manager (its menus open through PopupMenuPresenter). Every question
    is answered later, on the message thread; the bar owns this object, so closing the window closes an open
    file dialog with it. Tests derive from it to choose a file or cancel without a real dialog. */
class PresetDialogs
{
public:
    virtual ~PresetDialogs() = default;

    struct FileRequest
    {
        juce::String title;
        juce::File initialLocation;
        juce::String filter;
        bool forSaving = false;
    };

    /** Asks for one file: the chosen file, or a default File when the user cancels. Saving asks before
        replacing an existing file. */
    virtual void chooseFile(const FileRequest& request, std::function<void(const juce::File&)> answer);

    /** Asks whether an existing file may be replaced. */
    virtual void confirmOverwrite(const juce::File& file, std::function<void(bool)> answer);

    /** Tells the user that a preset could not be written to the file, with the system's reason, in an
        alert window of the window's look. Nothing is asked; the message closes with its button. */
    virtual void reportSaveFailure(const juce::File& file, const juce::String& reason);

    /** Shows a file or folder in the desktop's file manager. */
    virtual void reveal(const juce::File& file);

private:
    std::unique_ptr<juce::FileChooser> chooser;
};
