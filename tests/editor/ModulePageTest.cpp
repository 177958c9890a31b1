// The module page: seventeen panels in their order and grid, wired and refreshed as the editor does it,
// and a rendering of the whole page.
#include "ModulePanelFixture.h"
#include "editor/ControlsPanel.h"

#include <cmath>
#include <map>
#include <optional>
#include <set>

namespace
{
struct Cell
{
    const char* panelName;
    const char* title;
    juce::Rectangle<int> bounds;
};

// In construction order.
const Cell cells[] = {{"Buffer Component", "BUFFER 1", {0, 0, 230, 130}},
                      {"Buffer Component", "BUFFER 2", {0, 130, 230, 130}},
                      {"Filter Component", "FILTER 1", {230, 0, 230, 130}},
                      {"Filter Component", "FILTER 2", {230, 130, 230, 130}},
                      {"Crusher Component", "CRUSHER 1", {460, 0, 230, 130}},
                      {"Crusher Component", "CRUSHER 2", {460, 130, 230, 130}},
                      {"DryWet Component", "OUT", {690, 0, 230, 130}},
                      {"Lfo Component", "LFO 1", {0, 260, 230, 130}},
                      {"Lfo Component", "LFO 2", {230, 260, 230, 130}},
                      {"Lfo Component", "LFO 3", {460, 260, 230, 130}},
                      {"Lfo Component", "LFO 4", {690, 260, 230, 130}},
                      {"Mixer Component", "MIXER 1", {0, 390, 230, 130}},
                      {"Mixer Component", "MIXER 2", {230, 390, 230, 130}},
                      {"Mixer Component", "MIXER 3", {460, 390, 230, 130}},
                      {"Mixer Component", "MIXER 4", {690, 390, 230, 130}},
                      {"Multiplier Component", "MULTIPLIER 1", {690, 130, 230, 65}},
                      {"Multiplier Component", "MULTIPLIER 2", {690, 195, 230, 65}}};

// The title a panel shows on its chip, or on its header for the output panel.
juce::String titleOf(juce::Component& panel)
{
    for (auto* child : panel.getChildren())
    {
        if (auto* chip = dynamic_cast<ModSourceComponent*>(child))
            return chip->text;
        if (auto* label = dynamic_cast<juce::Label*>(child))
            return label->getText();
    }
    return {};
}

// Every component under the page, depth first.
void collect(juce::Component& parent, std::vector<juce::Component*>& all)
{
    for (auto* child : parent.getChildren())
    {
        all.push_back(child);
        collect(*child, all);
    }
}

// The processor pointer and parameter of a control that edits or shows one; the chips have neither.
struct Binding
{
    QuorvelAudioProcessor* processor;
    int paramIndex;
};

std::optional<Binding> bindingOf(juce::Component& component)
{
    if (auto* knob = dynamic_cast<FloatParameterKnob*>(&component))
        return Binding{knob->processor, knob->paramIndex};
    if (auto* knob = dynamic_cast<IntParameterKnob*>(&component))
        return Binding{knob->processor, knob->paramIndex};
    if (auto* target = dynamic_cast<ModTargetComponent*>(&component))
        return Binding{target->processor, target->paramIndex};
    if (auto* depth = dynamic_cast<ModDepthComponent*>(&component))
        return Binding{depth->processor, depth->paramIndex};
    if (auto* scope = dynamic_cast<OscillComp*>(&component))
        return Binding{scope->processor, -1};
    return std::nullopt;
}

using Rect = juce::Rectangle<int>;

// Each kind of panel's children, back to front, by component name and fixed bounds.
const std::vector<std::pair<const char*, Rect>> threeKnobLayout{
    {"Float Parameter Knob", {10, 30, 70, 50}},  {"Float Parameter Knob", {80, 30, 70, 50}},
    {"Float Parameter Knob", {150, 30, 70, 50}}, {nullptr, {0, 0, 230, 20}},
    {"Mod Target Component", {15, 85, 60, 15}},  {"Mod Depth Component", {15, 105, 60, 15}},
    {"Mod Target Component", {85, 85, 60, 15}},  {"Mod Depth Component", {85, 105, 60, 15}},
    {"Mod Target Component", {155, 85, 60, 15}}, {"Mod Depth Component", {155, 105, 60, 15}}};
const std::vector<std::pair<const char*, Rect>> outputLayout{{"Header", {0, 0, 230, 20}},
                                                             {"Float Parameter Knob", {10, 30, 70, 50}},
                                                             {"Float Parameter Knob", {150, 30, 70, 50}},
                                                             {"Mod Target Component", {15, 85, 60, 15}},
                                                             {"Mod Depth Component", {15, 105, 60, 15}},
                                                             {"", {80, 60, 70, 30}}};
const std::vector<std::pair<const char*, Rect>> lfoLayout{
    {"Float Parameter Knob", {80, 30, 70, 50}}, {"Int Parameter Knob", {80, 30, 70, 50}},
    {"mult button", {160, 105, 50, 15}},        {"sync button", {160, 85, 50, 15}},
    {"Int Parameter Knob", {10, 30, 70, 50}},   {nullptr, {0, 0, 230, 20}},
    {"Mod Target Component", {15, 85, 60, 15}}, {"Mod Depth Component", {15, 105, 60, 15}},
    {"Mod Target Component", {85, 85, 60, 15}}, {"Mod Depth Component", {85, 105, 60, 15}}};
const std::vector<std::pair<const char*, Rect>> mixerLayout{
    {"Float Parameter Knob", {10, 30, 70, 50}}, {"Source A box", {100, 30, 120, 16}},
    {"Source B box", {100, 85, 120, 16}},       {nullptr, {0, 0, 230, 20}},
    {"Mod Target Component", {15, 85, 60, 15}}, {"Mod Depth Component", {15, 105, 60, 15}}};
const std::vector<std::pair<const char*, Rect>> multiplierLayout{
    {"Source A box", {10, 35, 100, 15}}, {"Source B box", {120, 35, 100, 15}}, {nullptr, {0, 0, 230, 20}}};

// A null name stands for the panel's source chip, named by its source identifier.
void expectLayout(juce::Component& panel, const std::vector<std::pair<const char*, Rect>>& layout)
{
    // Another size leaves every child in its place.
    panel.setSize(300, 200);
    ASSERT_EQ(panel.getNumChildComponents(), static_cast<int>(layout.size())) << panel.getName();
    for (size_t i = 0; i < layout.size(); ++i)
    {
        auto* child = panel.getChildComponent(static_cast<int>(i));
        const auto& [name, bounds] = layout[i];
        if (name == nullptr)
            EXPECT_NE(dynamic_cast<ModSourceComponent*>(child), nullptr) << panel.getName() << " " << i;
        else
            EXPECT_EQ(child->getName(), name) << panel.getName() << " " << i;
        EXPECT_EQ(child->getBounds(), bounds) << panel.getName() << " " << child->getName();
    }
}
} // namespace

class ModulePageTest : public ModulePanelTest
{
protected:
    ControlsPanel page;
};

TEST_F(ModulePageTest, SeventeenPanelsInConstructionOrderTileThePage)
{
    EXPECT_EQ(page.getName(), "Controls Panel");
    EXPECT_EQ(page.getBounds(), juce::Rectangle<int>(0, 0, 920, 520));
    ASSERT_EQ(page.getNumChildComponents(), 17);
    const juce::Component* fields[] = {page.buffer1.get(),     page.buffer2.get(),    page.filter1.get(),
                                       page.filter2.get(),     page.crusher1.get(),   page.crusher2.get(),
                                       page.dryWet.get(),      page.lfo1.get(),       page.lfo2.get(),
                                       page.lfo3.get(),        page.lfo4.get(),       page.mixer1.get(),
                                       page.mixer2.get(),      page.mixer3.get(),     page.mixer4.get(),
                                       page.multiplier1.get(), page.multiplier2.get()};

    // Another size leaves every panel in its place.
    page.setSize(1000, 700);
    for (int i = 0; i < 17; ++i)
    {
        auto* panel = page.getChildComponent(i);
        EXPECT_EQ(panel, fields[i]);
        EXPECT_EQ(panel->getName(), cells[i].panelName);
        EXPECT_EQ(titleOf(*panel), cells[i].title);
        EXPECT_EQ(panel->getBounds(), cells[i].bounds) << cells[i].title;
        EXPECT_TRUE(panel->isVisible());
    }

    // The panels tile the page: the corners of the shared cell and of neighbouring panels.
    page.setVisible(true);
    const auto panelAt = [&](int x, int y)
    {
        auto* component = page.getComponentAt(x, y);
        while (component != nullptr && component->getParentComponent() != &page)
            component = component->getParentComponent();
        return component;
    };
    EXPECT_EQ(panelAt(690, 130), page.multiplier1.get());
    EXPECT_EQ(panelAt(919, 194), page.multiplier1.get());
    EXPECT_EQ(panelAt(690, 195), page.multiplier2.get());
    EXPECT_EQ(panelAt(919, 259), page.multiplier2.get());
    EXPECT_EQ(panelAt(229, 129), page.buffer1.get());
    EXPECT_EQ(panelAt(230, 130), page.filter2.get());
}

TEST_F(ModulePageTest, EveryKindOfPanelPlacesItsChildrenInOrderAtFixedBounds)
{
    for (auto* panel :
         std::initializer_list<juce::Component*>{page.buffer1.get(), page.filter1.get(), page.filter2.get(),
                                                 page.crusher1.get(), page.crusher2.get()})
        expectLayout(*panel, threeKnobLayout);
    expectLayout(*page.dryWet, outputLayout);
    expectLayout(*page.lfo3, lfoLayout);
    expectLayout(*page.mixer2, mixerLayout);
    expectLayout(*page.multiplier2, multiplierLayout);

    // A second resize leaves one connector line.
    page.lfo3->setSize(230, 130);
    int corners = 0;
    for (juce::Path::Iterator it(page.lfo3->connectorPath); it.next();)
        ++corners;
    EXPECT_EQ(corners, 3);
}

TEST_F(ModulePageTest, EveryControlIsWiredAndEveryModuleControlAndSlotHasExactlyOneControl)
{
    page.setProcessor(processor.get());
    EXPECT_EQ(page.processor, processor.get());

    std::vector<juce::Component*> all;
    collect(page, all);
    std::map<int, int> controlsPerParameter;
    int wired = 0;
    for (auto* component : all)
    {
        if (auto* chip = dynamic_cast<ModSourceComponent*>(component))
            EXPECT_TRUE(chip->getName().startsWith("Src_")) << chip->text;
        if (const auto binding = bindingOf(*component))
        {
            EXPECT_EQ(binding->processor, processor.get()) << component->getName();
            ++wired;
            if (binding->paramIndex >= 0)
                ++controlsPerParameter[binding->paramIndex];
        }
    }
    // 2 x 9 buffer, 4 x 9 filter and crusher, 5 output (the scope included), 4 x 7 LFO and 4 x 3 mixer
    // controls.
    EXPECT_EQ(wired, 18 + 36 + 5 + 28 + 12);

    // Knobs for every module control but the LFO switches and the box-picked sources, and one
    // target and depth field for every modulation slot 56..117; routing lives on the matrix page.
    std::set<int> expected;
    for (int i = 0; i <= 117; ++i)
        expected.insert(i);
    for (int lfo = 0; lfo < 4; ++lfo)
        for (int switchOffset : {2, 3})
            expected.erase(20 + 5 * lfo + switchOffset);
    for (int i = 40; i <= 55; ++i)
        if (i != 42 && i != 45 && i != 48 && i != 51)
            expected.erase(i);
    std::set<int> bound;
    for (const auto& [index, count] : controlsPerParameter)
    {
        EXPECT_EQ(count, 1) << index;
        bound.insert(index);
    }
    EXPECT_EQ(bound, expected);

    for (auto* panel : {page.lfo1.get(), page.lfo2.get(), page.lfo3.get(), page.lfo4.get()})
        EXPECT_EQ(panel->processor, processor.get());
    for (auto* panel : {page.multiplier1.get(), page.multiplier2.get()})
        EXPECT_EQ(panel->processor, processor.get());
    EXPECT_EQ(page.buffer2->processor, processor.get());
}

TEST_F(ModulePageTest, ARefreshBringsEveryPanelToTheProcessorAndWritesNothing)
{
    place(page);
    processor->learnMode = true;
    setNormalised(1, 0.5f);           // buffer 1 Repeats
    setNormalised(67, 0.25f);         // buffer 2 Ratio modulation depth
    setNormalised(38, 1.0f);          // LFO 4 Sync
    setNormalised(50, 15.0f / 17.0f); // mixer 4 Source B: MIXER 4
    setNormalised(55, 2.0f / 17.0f);  // multiplier 2 Source B: BUFFER 1
    processor->scopeHistory[0] = 1.0f;

    page.updateFromPlugin();
    EXPECT_EQ(page.buffer1->repeatsKnob->slider->getValue(), 0.5);
    EXPECT_EQ(page.buffer2->ratioDepth->label->getText(), "25.00 %");
    EXPECT_TRUE(page.lfo4->syncedRateKnob->isVisible());
    EXPECT_FALSE(page.lfo3->syncedRateKnob->isVisible());
    EXPECT_EQ(page.mixer4->sourceBBox->getText(), "MIXER 4");
    EXPECT_EQ(page.multiplier2->sourceBBox->getText(), "BUFFER 1");
    EXPECT_EQ(page.dryWet->scope.path.getCurrentPosition(), juce::Point<float>(70.0f, 0.0f));

    page.updateFromPlugin();
    runPendingMessages();
    expectNothingWritten();
}

TEST_F(ModulePageTest, RendersTheWholePageForAPersonToSee)
{
    place(page);
    page.setOpaque(true);
    setNormalised(0, 0.3f);
    setNormalised(7, 0.6f);
    setNormalised(15, 0.8f);
    setNormalised(19, 0.9f);
    setNormalised(23, 1.0f);         // LFO 1 synced
    setNormalised(27, 1.0f);         // LFO 2 x 100
    setNormalised(70, 8.0f / 17.0f); // filter 1 cutoff modulated by LFO 1
    setNormalised(71, 0.4f);
    setNormalised(52, 12.0f / 17.0f); // multiplier 1: mixer 1 x LFO 2
    setNormalised(53, 9.0f / 17.0f);
    for (int i = 0; i < 128; ++i)
        processor->scopeHistory[static_cast<size_t>(i)] = 0.8f * std::sin(static_cast<float>(i) * 0.2f);
    page.updateFromPlugin();

    const auto image = page.createComponentSnapshot(page.getLocalBounds(), true, 1.0f);
    writePng(image, "module-page.png");
    ASSERT_EQ(image.getWidth(), 920);

    // Panel frames are grey, the panels black, and the trace crosses the scope strip in white.
    EXPECT_TRUE(near(image.getPixelAt(230, 60), juce::Colour(0xffaeaeae)));
    EXPECT_TRUE(near(image.getPixelAt(5, 25), juce::Colours::black));
    int tracePixels = 0;
    for (int y = 60; y < 90; ++y)
        for (int x = 690 + 80; x < 690 + 150; ++x)
            tracePixels += image.getPixelAt(x, y).getBrightness() > 0.5f;
    EXPECT_GT(tracePixels, 70);
}
