#include "editor/PopupMenuPresenter.h"

namespace PopupMenuPresenter
{
namespace
{
Presenter& replacement()
{
    static Presenter presenter;
    return presenter;
}
} // namespace

void show(const juce::PopupMenu& menu, const juce::PopupMenu::Options& options,
          std::function<void(int)> onChosen)
{
    if (replacement())
    {
        replacement()(menu, options, std::move(onChosen));
        return;
    }
    juce::PopupMenu(menu).showMenuAsync(options, std::move(onChosen));
}

void replace(Presenter presenter)
{
    replacement() = std::move(presenter);
}
} // namespace PopupMenuPresenter
