#pragma once

#include "editor/EditorPalette.h"
#include "editor/FloatParameterKnob.h"
#include "editor/ModDepthComponent.h"
#include "editor/ModSourceComponent.h"
#include "editor/ModTargetComponent.h"
#include "editor/ModulePanel.h"
#include "plugin/ParameterTable.h"

#include <array>

class QuorvelAudioProcessor;

// What tells a filter panel from a crusher panel: its name, its knob captions and where its first
// module's parameters and source sit. The second module's knobs follow the first's three, its
// modulation slots the first's three, and its source the first's.
struct ThreeKnobModule
{
    const char* componentName;
    std::array<const char*, 3> captions;
    int firstKnob;
    int firstModSlot;
    ParameterTable::Source firstSource;
};

// The panel of a module with three knobs, each with a modulation slot under it: the filter and crusher
// panels, which share one layout and one behaviour. Panel is a class with the fields processor,
// sourceChip, knob1..3, modTarget1..3 and modDepth1..3.
namespace ThreeKnobPanel
{
// Module number 1 builds the first module's panel; any other number the second's. The title only
// becomes the chip's text.
template <typename Panel>
void build(Panel& panel, const ThreeKnobModule& module, int moduleNumber, juce::String title)
{
    using ModulePanel::addChild;
    panel.setName(module.componentName);

    const int second = moduleNumber == 1 ? 0 : 1;
    const int firstKnob = module.firstKnob + 3 * second;
    panel.knob1 = addChild<FloatParameterKnob>(panel, firstKnob, module.captions[0]);
    panel.knob2 = addChild<FloatParameterKnob>(panel, firstKnob + 1, module.captions[1]);
    panel.knob3 = addChild<FloatParameterKnob>(panel, firstKnob + 2, module.captions[2]);

    panel.sourceChip = addChild<ModSourceComponent>(panel, title);
    panel.sourceChip->setName(
        ParameterTable::sourceIdentifiers[static_cast<size_t>(module.firstSource + second)]);

    const int firstSlot = module.firstModSlot + 3 * second;
    panel.modTarget1 = addChild<ModTargetComponent>(panel, ParameterTable::modSourceIndex(firstSlot));
    panel.modDepth1 = addChild<ModDepthComponent>(panel, ParameterTable::modDepthIndex(firstSlot));
    panel.modTarget2 = addChild<ModTargetComponent>(panel, ParameterTable::modSourceIndex(firstSlot + 1));
    panel.modDepth2 = addChild<ModDepthComponent>(panel, ParameterTable::modDepthIndex(firstSlot + 1));
    panel.modTarget3 = addChild<ModTargetComponent>(panel, ParameterTable::modSourceIndex(firstSlot + 2));
    panel.modDepth3 = addChild<ModDepthComponent>(panel, ParameterTable::modDepthIndex(firstSlot + 2));

    // The first module keeps the knob's own blue.
    if (second == 1)
        for (auto* knob : {panel.knob1.get(), panel.knob2.get(), panel.knob3.get()})
            ModulePanel::setKnobColour(*knob, EditorPalette::secondModule);

    panel.setSize(230, 130);
}

// Fixed places whatever the panel's size: the chip across the top, each slot centred under its knob.
template <typename Panel> void layout(Panel& panel)
{
    panel.knob1->setBounds(10, 30, 70, 50);
    panel.knob2->setBounds(80, 30, 70, 50);
    panel.knob3->setBounds(150, 30, 70, 50);
    panel.sourceChip->setBounds(0, 0, 230, 20);
    panel.modTarget1->setBounds(15, 85, 60, 15);
    panel.modDepth1->setBounds(15, 105, 60, 15);
    panel.modTarget2->setBounds(85, 85, 60, 15);
    panel.modDepth2->setBounds(85, 105, 60, 15);
    panel.modTarget3->setBounds(155, 85, 60, 15);
    panel.modDepth3->setBounds(155, 105, 60, 15);
}

template <typename Panel> void refresh(Panel& panel)
{
    panel.knob1->updateFromPlugin();
    panel.knob2->updateFromPlugin();
    panel.knob3->updateFromPlugin();
    panel.modTarget1->updateFromPlugin();
    panel.modDepth1->updateFromPlugin();
    panel.modTarget2->updateFromPlugin();
    panel.modDepth2->updateFromPlugin();
    panel.modTarget3->updateFromPlugin();
    panel.modDepth3->updateFromPlugin();
}

// The chip edits nothing and gets no pointer.
template <typename Panel> void wire(Panel& panel, QuorvelAudioProcessor* processor)
{
    panel.processor = processor;
    for (auto* knob : {panel.knob1.get(), panel.knob2.get(), panel.knob3.get()})
        knob->processor = processor;
    for (auto* target : {panel.modTarget1.get(), panel.modTarget2.get(), panel.modTarget3.get()})
        target->processor = processor;
    for (auto* depth : {panel.modDepth1.get(), panel.modDepth2.get(), panel.modDepth3.get()})
        depth->processor = processor;
}
} // namespace ThreeKnobPanel
