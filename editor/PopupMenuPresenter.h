#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>

// The one way the editor's controls open a pop-up menu: asynchronously, handing the chosen item id
// (0 when dismissed) to a callback. Tests replace the presenter to stand in for the user.
namespace PopupMenuPresenter
{
using Presenter = std::function<void(const juce::PopupMenu&, const juce::PopupMenu::Options&,
                                     std::function<void(int)> onChosen)>;

void show(const juce::PopupMenu& menu, const juce::PopupMenu::Options& options,
          std::function<void(int)> onChosen);

// An empty presenter restores the framework's asynchronous menu.
void replace(Presenter presenter);
} // namespace PopupMenuPresenter
