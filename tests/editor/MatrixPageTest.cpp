// The matrix page: eighteen chips beside 38 rows, each row bound to its slot and coloured by module.
#include "EditorFixture.h"
#include "editor/ModDepthComponent.h"
#include "editor/ModLabelComponent.h"
#include "editor/ModSourceComponent.h"
#include "editor/ModTargetComponent.h"
#include "editor/PatchPanel.h"
#include "plugin/ParameterTable.h"

namespace
{
const juce::Colour blue{0xff0069fe}, green{0xff0be067}, white{0xffffffff}, yellow{0xfffbff03};

struct Row
{
    const char* text;
    int selector;
    juce::Colour colour;
};

const Row rows[PatchPanel::numRows] = {
    {"BUFFER 1 AUDIO IN", 118, blue},  {"BUFFER 2 AUDIO IN", 120, green},
    {"FILTER 1 AUDIO IN", 122, blue},  {"FILTER 2 AUDIO IN", 124, green},
    {"CRUSHER 1 AUDIO IN", 126, blue}, {"CRUSHER 2 AUDIO IN", 128, green},
    {"OUTPUT AUDIO IN", 130, white},   {"BUFFER 1 SIZE", 56, blue},
    {"BUFFER 1 REPEATS", 58, blue},    {"BUFFER 1 RATIO", 60, blue},
    {"BUFFER 2 SIZE", 62, green},      {"BUFFER 2 REPEATS", 64, green},
    {"BUFFER 2 RATIO", 66, green},     {"FILTER 1 MORPH", 68, blue},
    {"FILTER 1 CUTOFF", 70, blue},     {"FILTER 1 RESONANCE", 72, blue},
    {"FILTER 2 MORPH", 74, green},     {"FILTER 2 CUTOFF", 76, green},
    {"FILTER 2 RESONANCE", 78, green}, {"CRUSHER 1 BITS", 80, blue},
    {"CRUSHER 1 RATE", 82, blue},      {"CRUSHER 1 MIX", 84, blue},
    {"CRUSHER 2 BITS", 86, green},     {"CRUSHER 2 RATE", 88, green},
    {"CRUSHER 2 MIX", 90, green},      {"DRY/WET", 92, white},
    {"LFO 1 WAVE", 94, yellow},        {"LFO 1 RATE", 96, yellow},
    {"LFO 2 WAVE", 98, yellow},        {"LFO 2 RATE", 100, yellow},
    {"LFO 3 WAVE", 102, yellow},       {"LFO 3 RATE", 104, yellow},
    {"LFO 4 WAVE", 106, yellow},       {"LFO 4 RATE", 108, yellow},
    {"MIXER 1 MIX", 110, yellow},      {"MIXER 2 MIX", 112, yellow},
    {"MIXER 3 MIX", 114, yellow},      {"MIXER 4 MIX", 116, yellow},
};
} // namespace

using MatrixPageTest = EditorControlTest;

TEST_F(MatrixPageTest, ChipsAreNamedBySourceAndStackedInSourceOrder)
{
    PatchPanel page;
    EXPECT_EQ(page.getName(), "Patch Panel");
    EXPECT_EQ(page.getLocalBounds(), juce::Rectangle<int>(0, 0, 920, 520));

    for (int k = 0; k < ParameterTable::numSources; ++k)
    {
        const auto& chip = *page.sourceChips[(size_t)k];
        EXPECT_EQ(chip.getName(), ParameterTable::sourceIdentifiers[(size_t)k]);
        EXPECT_EQ(chip.text, ParameterTable::sourceDisplayTexts[(size_t)k]);
        EXPECT_EQ(chip.getBounds(), juce::Rectangle<int>(46, 42 + 26 * k, 138, 16)) << k;
        EXPECT_EQ(bits(chip.font.getHeight()), bits(11.2f));
    }

    // Children in the order made: INPUT, BUFFER 1, rows 1 and 2, NONE, the other chips, the rows, the
    // headers.
    std::vector<juce::Component*> expected{page.sourceChips[1].get(), page.sourceChips[2].get()};
    const auto addRow = [&](int r)
    {
        expected.push_back(page.rowTargets[(size_t)r].get());
        expected.push_back(page.rowDepths[(size_t)r].get());
        expected.push_back(page.rowLabels[(size_t)r].get());
    };
    addRow(0);
    addRow(1);
    expected.push_back(page.sourceChips[0].get());
    for (int k = 3; k < ParameterTable::numSources; ++k)
        expected.push_back(page.sourceChips[(size_t)k].get());
    for (int r = 2; r < PatchPanel::numRows; ++r)
        addRow(r);
    for (auto& header : page.headers)
        expected.push_back(header.get());
    ASSERT_EQ(page.getNumChildComponents(), 139);
    for (int i = 0; i < 139; ++i)
    {
        EXPECT_EQ(page.getChildComponent(i), expected[(size_t)i]) << i;
        EXPECT_TRUE(page.getChildComponent(i)->isVisible()) << i;
    }
}

TEST_F(MatrixPageTest, EachRowIsBoundToItsSlotPlacedInItsColumnAndColouredByModule)
{
    PatchPanel page;
    for (int r = 0; r < PatchPanel::numRows; ++r)
    {
        SCOPED_TRACE(rows[r].text);
        const int line = r % 19;
        const int x = r < 19 ? 230 : 607;
        const int y = 31 + 26 * line;

        const auto& target = *page.rowTargets[(size_t)r];
        const auto& depth = *page.rowDepths[(size_t)r];
        const auto& label = *page.rowLabels[(size_t)r];
        EXPECT_EQ(target.paramIndex, rows[r].selector);
        EXPECT_EQ(depth.paramIndex, rows[r].selector + 1);
        EXPECT_EQ(label.label->getText(), rows[r].text);
        EXPECT_EQ(label.label->findColour(juce::Label::textColourId), rows[r].colour);

        EXPECT_EQ(target.getBounds(), juce::Rectangle<int>(x, y, 120, 16));
        EXPECT_EQ(depth.getBounds(), juce::Rectangle<int>(x + 120, y, 74, 16));
        EXPECT_EQ(label.getBounds(), juce::Rectangle<int>(x + 193, y, 120, 16));
        for (const auto* font : {&target.font, &depth.font, &label.font})
            EXPECT_EQ(bits(font->getHeight()), bits(11.2f));
        EXPECT_EQ(target.processor, nullptr);
    }
}

TEST_F(MatrixPageTest, SevenHeadersAtSixteenPixelsAndAFontRuleThatRanOnce)
{
    PatchPanel page;
    struct Header
    {
        const char* name;
        const char* text;
        juce::Rectangle<int> bounds;
    };
    const Header headers[] = {
        {"Src Header", "SOURCE", {0, 0, 230, 26}},         {"In Header", "INPUT", {230, 0, 120, 26}},
        {"Depth Header", "DEPTH", {350, 0, 74, 26}},       {"Dest Header", "DESTINATION", {423, 0, 120, 26}},
        {"In Header", "INPUT", {607, 0, 120, 26}},         {"Depth Header", "DEPTH", {727, 0, 74, 26}},
        {"Dest Header", "DESTINATION", {800, 0, 120, 26}},
    };
    for (int h = 0; h < 7; ++h)
    {
        const auto& header = *page.headers[(size_t)h];
        EXPECT_EQ(header.getName(), headers[h].name);
        EXPECT_EQ(header.getText(), headers[h].text);
        EXPECT_EQ(header.getBounds(), headers[h].bounds);
        EXPECT_EQ(header.getFont().getHeight(), 16.0f);
        EXPECT_EQ(header.getJustificationType(), juce::Justification(juce::Justification::centred));
        EXPECT_FALSE(header.isEditable());
        EXPECT_EQ(header.findColour(juce::Label::backgroundColourId), juce::Colour(0x80aeaeae));
        EXPECT_EQ(header.findColour(juce::Label::outlineColourId), juce::Colour(0xffaeaeae));
    }
    EXPECT_EQ(page.fontHeight, 16.0f);
    EXPECT_EQ(page.lastHeight, 520.0f);

    // Placing the page where it already is runs no layout.
    page.rowTargets[0]->setBounds(0, 0, 10, 10);
    page.setBounds(0, 0, 920, 520);
    EXPECT_EQ(page.rowTargets[0]->getBounds(), juce::Rectangle<int>(0, 0, 10, 10));
}

TEST_F(MatrixPageTest, TheChipsNameNotItsCaptionSelectsTheSource)
{
    PatchPanel page;
    auto& lfo1RateRow = *page.rowTargets[27];
    wire(lfo1RateRow);
    ASSERT_EQ(lfo1RateRow.paramIndex, 96);

    for (int k = ParameterTable::numSources - 1; k >= 0; --k)
    {
        lfo1RateRow.itemDropped({"Mod Source", page.sourceChips[(size_t)k].get(), {5, 5}});
        EXPECT_EQ((int)(normalised(96) * 17.0f), k);
    }
    page.sourceChips[10]->text = "SOMETHING ELSE";
    lfo1RateRow.itemDropped({"Mod Source", page.sourceChips[10].get(), {5, 5}});
    EXPECT_EQ(bits(normalised(96)), bits(10.0f / 17.0f));
}

TEST_F(MatrixPageTest, FramesBracketAndTheWordAudio)
{
    PatchPanel page;
    wire(page);
    const auto image = render(page);
    writePng(image, "matrix-page.png");

    const juce::Colour grey{0xffaeaeae};
    // The chip column's frame and the rows' frame meet at x 229..231.
    for (const auto& [x, y] : {std::pair{0, 300}, {229, 300}, {231, 300}, {919, 300}, {300, 519}})
        EXPECT_TRUE(near(image.getPixelAt(x, y), grey)) << x << "," << y;
    // The bracket's 1-pixel lines lie on pixel edges, so they show half-covered on both sides.
    for (const auto& [x, y] : {std::pair{576, 100}, {560, 32}, {560, 202}})
        EXPECT_GT(image.getPixelAt(x, y).getBrightness(), 0.25f) << x << "," << y;
    // Open on its left side, black inside away from the word.
    for (const auto& [x, y] : {std::pair{544, 100}, {550, 40}, {578, 100}, {200, 510}})
        EXPECT_EQ(image.getPixelAt(x, y), juce::Colour(0xff000000)) << x << "," << y;
}
