#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

class QuorvelAudioProcessor;

// The rotary control of the module page: a 70 x 50 dial with a caption under it, editing one
// parameter's normalised value in steps of 0.001. Owned by the module panels; the editor writes the
// processor pointer and refreshes it from its timer. On the two buffer Size knobs a right-click beside
// the dial opens the note-length menu.
class FloatParameterKnob : public juce::Component, public juce::Slider::Listener
{
public:
    FloatParameterKnob(int paramIndex, juce::String caption);
    ~FloatParameterKnob() override;

    void mouseUp(const juce::MouseEvent& event) override;
    void paint(juce::Graphics& g) override;
    void resized() override;
    void sliderValueChanged(juce::Slider* changed) override;

    // Brings the dial to the parameter's host value without notification, so nothing is written back;
    // the first call also installs the double-click (and alt-click) default.
    void updateFromPlugin();

    // Sets Size to a note length at the host tempo, scaled by the same buffer's Ratio: the choice of the
    // note-length menu (ids 1 "1 BAR" to 7 "1/64"). Writes without gesture or message lines; writes
    // nothing for a Ratio of 0, a tempo that is not a finite positive number, another id, or a knob
    // that is not on a Size parameter.
    void applyNoteLength(int itemId);

    QuorvelAudioProcessor* processor = nullptr;
    int paramIndex;
    juce::Font font;
    bool needsDefault = true;
    juce::String caption;
    juce::Colour knobColour;
    std::unique_ptr<juce::Slider> slider;

private:
    void noteLengthMenu();

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(FloatParameterKnob)
};
