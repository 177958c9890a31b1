#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <array>
#include <memory>

class QuorvelAudioProcessor;
class ModSourceComponent;
class ModTargetComponent;
class ModDepthComponent;
class ModLabelComponent;

/** The matrix page: the column of eighteen source chips beside 38 rows, the seven audio inputs and the
    31 modulation slots, each a drop target, a depth field and a caption. The page only builds, places
    and paints them; the editor window writes the processor pointers and refreshes the rows while the
    page is shown. */
class PatchPanel : public juce::Component
{
public:
    static constexpr int numRows = 38;

    PatchPanel();
    ~PatchPanel() override;

    void paint(juce::Graphics& g) override;
    void resized() override;

    QuorvelAudioProcessor* processor = nullptr;
    juce::Font headerFont;
    float fontHeight = 16.0f;
    float lastHeight = 520.0f;

    std::array<std::unique_ptr<ModSourceComponent>, 18> sourceChips;     // by source index
    std::array<std::unique_ptr<ModTargetComponent>, numRows> rowTargets; // rows top to bottom, column 1 first
    std::array<std::unique_ptr<ModDepthComponent>, numRows> rowDepths;
    std::array<std::unique_ptr<ModLabelComponent>, numRows> rowLabels;
    std::array<std::unique_ptr<juce::Label>, 7> headers;

    juce::Path bracket;

private:
    void addChip(int source);
    void addRow(int row);
    void addHeader(int header);

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(PatchPanel)
};
