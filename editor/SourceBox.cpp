#include "editor/SourceBox.h"

#include "editor/CommitParameterEdit.h"
#include "plugin/ParameterTable.h"

namespace SourceBox
{
std::unique_ptr<juce::ComboBox> create(juce::Component& panel, const juce::String& name,
                                       juce::ComboBox::Listener* listener)
{
    auto box = std::make_unique<juce::ComboBox>(name);
    panel.addAndMakeVisible(*box);
    box->setEditableText(false);
    box->setJustificationType(juce::Justification::centredLeft);
    box->setTextWhenNothingSelected({});
    box->setTextWhenNoChoicesAvailable(juce::translate("(no choices)"));
    for (int k = 0; k < ParameterTable::numSources; ++k)
        box->addItem(juce::translate(ParameterTable::sourceDisplayTexts[static_cast<size_t>(k)]), k + 1);
    box->addListener(listener);
    return box;
}

void commitPick(QuorvelAudioProcessor* processor, const juce::ComboBox* changed, const juce::ComboBox& boxA,
                int paramA, const juce::ComboBox& boxB, int paramB)
{
    if (changed != &boxA && changed != &boxB)
        return;

    // A box emptied by a refresh of an unknown source has no item: -1 / 17 is no source to write.
    const int k = changed->getSelectedItemIndex();
    if (k < 0)
        return;

    commitParameterEdit(processor, changed == &boxA ? paramA : paramB, ParameterTable::sourceToNormalised(k));
}

void show(juce::ComboBox& box, float normalised)
{
    // The product in single precision, truncated toward zero: k / 17 reads back as k for every source.
    // A product past either end has no item anyway; it is not converted, as a float beyond int's range
    // (or not a number) has no integer part to take.
    const float product = normalised * 17.0f;
    const int k = product > -1.0f && product < static_cast<float>(ParameterTable::numSources)
                      ? static_cast<int>(product)
                      : -1;
    box.setSelectedId(box.getItemId(k), juce::dontSendNotification);
}
} // namespace SourceBox
