#include "editor/PatchPanel.h"

#include "editor/EditorPalette.h"
#include "editor/FontScaling.h"
#include "editor/ModDepthComponent.h"
#include "editor/ModLabelComponent.h"
#include "editor/ModSourceComponent.h"
#include "editor/ModTargetComponent.h"
#include "plugin/ParameterTable.h"

namespace
{
const juce::Colour firstModuleRow{0xff0069fe};

struct Row
{
    const char* text;
    juce::Colour colour;
};

// The seven audio inputs, then the 31 modulation slots in slot order.
const std::array<Row, PatchPanel::numRows> rows{{
    {"BUFFER 1 AUDIO IN", firstModuleRow},
    {"BUFFER 2 AUDIO IN", EditorPalette::secondModule},
    {"FILTER 1 AUDIO IN", firstModuleRow},
    {"FILTER 2 AUDIO IN", EditorPalette::secondModule},
    {"CRUSHER 1 AUDIO IN", firstModuleRow},
    {"CRUSHER 2 AUDIO IN", EditorPalette::secondModule},
    {"OUTPUT AUDIO IN", EditorPalette::output},
    {"BUFFER 1 SIZE", firstModuleRow},
    {"BUFFER 1 REPEATS", firstModuleRow},
    {"BUFFER 1 RATIO", firstModuleRow},
    {"BUFFER 2 SIZE", EditorPalette::secondModule},
    {"BUFFER 2 REPEATS", EditorPalette::secondModule},
    {"BUFFER 2 RATIO", EditorPalette::secondModule},
    {"FILTER 1 MORPH", firstModuleRow},
    {"FILTER 1 CUTOFF", firstModuleRow},
    {"FILTER 1 RESONANCE", firstModuleRow},
    {"FILTER 2 MORPH", EditorPalette::secondModule},
    {"FILTER 2 CUTOFF", EditorPalette::secondModule},
    {"FILTER 2 RESONANCE", EditorPalette::secondModule},
    {"CRUSHER 1 BITS", firstModuleRow},
    {"CRUSHER 1 RATE", firstModuleRow},
    {"CRUSHER 1 MIX", firstModuleRow},
    {"CRUSHER 2 BITS", EditorPalette::secondModule},
    {"CRUSHER 2 RATE", EditorPalette::secondModule},
    {"CRUSHER 2 MIX", EditorPalette::secondModule},
    {"DRY/WET", EditorPalette::output},
    {"LFO 1 WAVE", EditorPalette::lfoAndMixer},
    {"LFO 1 RATE", EditorPalette::lfoAndMixer},
    {"LFO 2 WAVE", EditorPalette::lfoAndMixer},
    {"LFO 2 RATE", EditorPalette::lfoAndMixer},
    {"LFO 3 WAVE", EditorPalette::lfoAndMixer},
    {"LFO 3 RATE", EditorPalette::lfoAndMixer},
    {"LFO 4 WAVE", EditorPalette::lfoAndMixer},
    {"LFO 4 RATE", EditorPalette::lfoAndMixer},
    {"MIXER 1 MIX", EditorPalette::lfoAndMixer},
    {"MIXER 2 MIX", EditorPalette::lfoAndMixer},
    {"MIXER 3 MIX", EditorPalette::lfoAndMixer},
    {"MIXER 4 MIX", EditorPalette::lfoAndMixer},
}};

int selectorIndex(int row)
{
    return row < ParameterTable::numRoutingInputs
               ? ParameterTable::inputSourceIndex(row)
               : ParameterTable::modSourceIndex(row - ParameterTable::numRoutingInputs);
}

struct Header
{
    const char* name;
    const char* text;
    juce::Rectangle<int> bounds;
};

const std::array<Header, 7> headerTable{{
    {"Src Header", "SOURCE", {0, 0, 230, 26}},
    {"In Header", "INPUT", {230, 0, 120, 26}},
    {"Depth Header", "DEPTH", {350, 0, 74, 26}},
    {"Dest Header", "DESTINATION", {423, 0, 120, 26}},
    {"In Header", "INPUT", {607, 0, 120, 26}},
    {"Depth Header", "DEPTH", {727, 0, 74, 26}},
    {"Dest Header", "DESTINATION", {800, 0, 120, 26}},
}};

constexpr int rowsPerColumn = 19;
constexpr int rowHeight = 16;
constexpr int rowPitch = 26;
} // namespace

PatchPanel::PatchPanel()
{
    setName("Patch Panel");

    // Creation order is child order: the INPUT and BUFFER 1 chips and the first two rows come first.
    addChip(ParameterTable::srcInput);
    addChip(ParameterTable::srcBuffer1);
    addRow(0);
    addRow(1);
    addChip(ParameterTable::srcNone);
    for (int source = ParameterTable::srcBuffer2; source < ParameterTable::numSources; ++source)
        addChip(source);
    for (int row = 2; row < numRows; ++row)
        addRow(row);
    for (int header = 0; header < (int)headers.size(); ++header)
        addHeader(header);

    fontHeight = 16.0f;
    lastHeight = 520.0f;
    setSize(920, 520);

    headerFont = juce::Font(fontHeight, juce::Font::plain);
    for (auto& header : headers)
        header->setFont(headerFont);

    // A drop target knows the dragged source by the chip's name, never by its caption.
    for (int source = 0; source < ParameterTable::numSources; ++source)
        sourceChips[(size_t)source]->setName(ParameterTable::sourceIdentifiers[(size_t)source]);

    for (int row = 0; row < numRows; ++row)
        rowLabels[(size_t)row]->label->setColour(juce::Label::textColourId, rows[(size_t)row].colour);
}

PatchPanel::~PatchPanel()
{
    // Widgets go in the order they were made.
    sourceChips[ParameterTable::srcInput] = nullptr;
    sourceChips[ParameterTable::srcBuffer1] = nullptr;
    for (int row = 0; row < numRows; ++row)
    {
        if (row == 2)
            for (int source = 0; source < ParameterTable::numSources; ++source)
                sourceChips[(size_t)source] = nullptr;
        rowTargets[(size_t)row] = nullptr;
        rowDepths[(size_t)row] = nullptr;
        rowLabels[(size_t)row] = nullptr;
    }
    for (auto& header : headers)
        header = nullptr;
}

void PatchPanel::addChip(int source)
{
    auto& chip = sourceChips[(size_t)source];
    chip = std::make_unique<ModSourceComponent>(ParameterTable::sourceDisplayTexts[(size_t)source]);
    addAndMakeVisible(*chip);
}

void PatchPanel::addRow(int row)
{
    const int selector = selectorIndex(row);
    auto& target = rowTargets[(size_t)row];
    target = std::make_unique<ModTargetComponent>(selector);
    addAndMakeVisible(*target);
    auto& depth = rowDepths[(size_t)row];
    depth = std::make_unique<ModDepthComponent>(selector + 1);
    addAndMakeVisible(*depth);
    auto& label = rowLabels[(size_t)row];
    label = std::make_unique<ModLabelComponent>(rows[(size_t)row].text);
    addAndMakeVisible(*label);
}

void PatchPanel::addHeader(int index)
{
    const auto& entry = headerTable[(size_t)index];
    auto& header = headers[(size_t)index];
    header = std::make_unique<juce::Label>(entry.name, juce::translate(entry.text));
    addAndMakeVisible(*header);
    header->setFont(juce::Font(16.0f, juce::Font::plain));
    header->setJustificationType(juce::Justification::centred);
    header->setEditable(false, false, false);
    header->setColour(juce::Label::backgroundColourId, EditorPalette::chipFill);
    header->setColour(juce::Label::textColourId, EditorPalette::grey);
    header->setColour(juce::Label::outlineColourId, EditorPalette::grey);
    header->setColour(juce::TextEditor::textColourId, EditorPalette::black);
    header->setColour(juce::TextEditor::backgroundColourId, juce::Colour(0x00000000));
}

void PatchPanel::paint(juce::Graphics& g)
{
    const auto w = (float)getWidth();
    const auto h = (float)getHeight();

    g.fillAll(EditorPalette::black);
    g.setColour(EditorPalette::grey);
    g.drawRect(juce::Rectangle<float>(0.0f, 0.0f, w * 0.25f, h).toNearestInt(), 2);
    g.setColour(EditorPalette::grey);
    g.drawRect(juce::Rectangle<float>(w * 0.25f, 0.0f, w * 0.75f, h).toNearestInt(), 2);

    g.setColour(EditorPalette::grey);
    g.strokePath(bracket,
                 juce::PathStrokeType(1.0f, juce::PathStrokeType::mitered, juce::PathStrokeType::butt));

    g.setColour(EditorPalette::grey);
    g.setFont(juce::Font(10.0f, juce::Font::plain));
    g.drawText(juce::translate("AUDIO"), juce::Rectangle<int>(544, 32, 30, 168), juce::Justification::centred,
               true);
}

void PatchPanel::resized()
{
    for (int source = 0; source < ParameterTable::numSources; ++source)
        sourceChips[(size_t)source]->setBounds(46, 42 + 26 * source, 138, rowHeight);

    for (int row = 0; row < numRows; ++row)
    {
        const bool secondColumn = row >= rowsPerColumn;
        const int y = 31 + rowPitch * (row % rowsPerColumn);
        const int x = secondColumn ? 607 : 230;
        rowTargets[(size_t)row]->setBounds(x, y, 120, rowHeight);
        // 74 wide on purpose: the label, added later, covers the depth field's last pixel column.
        rowDepths[(size_t)row]->setBounds(x + 120, y, 74, rowHeight);
        rowLabels[(size_t)row]->setBounds(x + 193, y, 120, rowHeight);
    }

    for (size_t header = 0; header < headers.size(); ++header)
        headers[header]->setBounds(headerTable[header].bounds);

    bracket.clear();
    bracket.startNewSubPath(544.0f, 32.0f);
    bracket.lineTo(576.0f, 32.0f);
    bracket.lineTo(576.0f, 202.0f);
    bracket.lineTo(544.0f, 202.0f);

    rescaleFont(headerFont, fontHeight, lastHeight, getHeight());
    for (auto& header : headers)
        header->setFont(headerFont);
}
