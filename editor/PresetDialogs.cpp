#include "editor/PresetDialogs.h"

void PresetDialogs::chooseFile(const FileRequest& request, std::function<void(const juce::File&)> answer)
{
    // Replacing an open chooser closes it without an answer.
    chooser = std::make_unique<juce::FileChooser>(request.title, request.initialLocation, request.filter,
                                                  true, false, nullptr);

    const int flags = request.forSaving
                          ? juce::FileBrowserComponent::saveMode |
                                juce::FileBrowserComponent::canSelectFiles |
                                juce::FileBrowserComponent::warnAboutOverwriting
                          : juce::FileBrowserComponent::openMode | juce::FileBrowserComponent::canSelectFiles;

    chooser->launchAsync(flags, [answer = std::move(answer)](const juce::FileChooser& finished)
                         { answer(finished.getResult()); });
}

void PresetDialogs::confirmOverwrite(const juce::File& file, std::function<void(bool)> answer)
{
    juce::AlertWindow::showOkCancelBox(
        juce::MessageBoxIconType::WarningIcon, TRANS("File already exists"),
        TRANS("There's already a file called: FLNM").replace("FLNM", file.getFullPathName()) + "\n\n" +
            TRANS("Are you sure you want to overwrite it?"),
        TRANS("Overwrite"), TRANS("Cancel"), nullptr,
        juce::ModalCallbackFunction::create([answer = std::move(answer)](int result)
                                            { answer(result != 0); }));
}

void PresetDialogs::reportSaveFailure(const juce::File& file, const juce::String& reason)
{
    juce::AlertWindow::showMessageBoxAsync(juce::MessageBoxIconType::WarningIcon, "Save Preset",
                                           "The preset could not be saved.\n\n" + file.getFullPathName() +
                                               "\n\n" + reason);
}

void PresetDialogs::reveal(const juce::File& file)
{
    file.revealToUser();
}
