#include "editor/FloatParameterKnob.h"

#include "editor/CommitParameterEdit.h"
#include "editor/EditorPalette.h"
#include "editor/ParameterSlider.h"
#include "editor/PopupMenuPresenter.h"
#include "plugin/PluginProcessor.h"

#include <cmath>

namespace
{
const juce::Rectangle<int> dialBounds{15, 0, 40, 40};
const juce::Rectangle<float> captionBounds{0.0f, 40.0f, 70.0f, 10.0f};

// Buffer 1's and buffer 2's Size; each buffer's Ratio sits two places after it.
bool isBufferSize(int paramIndex)
{
    return paramIndex == 0 || paramIndex == 3;
}
constexpr int ratioOffset = 2;

const char* const noteLengthNames[] = {"1 BAR", "1/2", "1/4", "1/8", "1/16", "1/32", "1/64"};
constexpr int numNoteLengths = 7;
} // namespace

FloatParameterKnob::FloatParameterKnob(int paramIndexToEdit, juce::String captionText)
{
    setName("Float Parameter Knob");
    slider = std::make_unique<juce::Slider>("knob");
    addAndMakeVisible(*slider);
    setUpKnobSlider(*slider, 0.001, this);
    setSize(70, 50);
    font = juce::Font(10.0f);
    paramIndex = paramIndexToEdit;
    caption = std::move(captionText);
    needsDefault = true;
}

FloatParameterKnob::~FloatParameterKnob()
{
    slider = nullptr;
}

void FloatParameterKnob::mouseUp(const juce::MouseEvent& event)
{
    // Only clicks beside the dial arrive here; the dial's own go to the slider.
    if (isBufferSize(paramIndex) && event.mods.isPopupMenu())
        noteLengthMenu();
}

void FloatParameterKnob::paint(juce::Graphics& g)
{
    g.setColour(EditorPalette::grey);
    g.setFont(font);
    g.drawText(caption, captionBounds, juce::Justification::centred, true);
}

void FloatParameterKnob::resized()
{
    slider->setBounds(dialBounds);
}

void FloatParameterKnob::sliderValueChanged(juce::Slider* changed)
{
    if (changed == slider.get())
        commitParameterEdit(processor, paramIndex, static_cast<float>(slider->getValue()));
}

void FloatParameterKnob::updateFromPlugin()
{
    if (processor != nullptr)
        refreshSlider(*slider, *processor, paramIndex, needsDefault);
}

void FloatParameterKnob::noteLengthMenu()
{
    juce::PopupMenu menu;
    for (int i = 0; i < numNoteLengths; ++i)
        menu.addItem(i + 1, noteLengthNames[i]);

    const auto options = juce::PopupMenu::Options()
                             .withItemThatMustBeVisible(1)
                             .withMinimumWidth(80)
                             .withMaximumNumColumns(5)
                             .withStandardItemHeight(15);

    // The knob may be gone by the time the menu closes.
    PopupMenuPresenter::show(menu, options,
                             [knob = juce::Component::SafePointer<FloatParameterKnob>(this)](int itemId)
                             {
                                 if (knob != nullptr)
                                     knob->applyNoteLength(itemId);
                             });
}

void FloatParameterKnob::applyNoteLength(int itemId)
{
    if (processor == nullptr || !isBufferSize(paramIndex) || itemId < 1 || itemId > numNoteLengths)
        return;

    const float barFraction = 1.0f / static_cast<float>(1 << (itemId - 1));
    const float ratio = processor->params[paramIndex + ratioOffset]->plainValue;
    if (ratio == 0.0f)
        return;

    // A bar is four beats; evaluated in this order in single precision.
    const float bpm = processor->hostBpm;
    float t = 60000.0f / bpm;
    t = t * 4.0f;
    t = t * barFraction;
    float ms = std::abs(ratio) * t;

    // Without a usable tempo the length is infinite or meaningless and halving would never end.
    if (!(bpm > 0.0f) || !std::isfinite(bpm) || !std::isfinite(ms))
        return;

    while (ms > 1000.0f)
        ms = ms * 0.5f;

    processor->setParameterNotifyingHost(paramIndex, ms / 1000.0f);
}
