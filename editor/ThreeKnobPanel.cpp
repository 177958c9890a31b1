#include "editor/ThreeKnobPanel.h"

#include "editor/EditorPalette.h"
#include "editor/ModulePanel.h"

ThreeKnobPanel::ThreeKnobPanel(const ThreeKnobModule& module, int moduleNumber, juce::String title)
{
    using ModulePanel::addChild;
    setName(module.componentName);

    const int second = moduleNumber == 1 ? 0 : 1;
    const int firstKnob = module.firstKnob + 3 * second;
    knob1 = addChild<FloatParameterKnob>(*this, firstKnob, module.captions[0]);
    knob2 = addChild<FloatParameterKnob>(*this, firstKnob + 1, module.captions[1]);
    knob3 = addChild<FloatParameterKnob>(*this, firstKnob + 2, module.captions[2]);

    sourceChip = addChild<ModSourceComponent>(*this, title);
    sourceChip->setName(ParameterTable::sourceIdentifiers[static_cast<size_t>(module.firstSource + second)]);

    const int firstSlot = module.firstModSlot + 3 * second;
    modTarget1 = addChild<ModTargetComponent>(*this, ParameterTable::modSourceIndex(firstSlot));
    modDepth1 = addChild<ModDepthComponent>(*this, ParameterTable::modDepthIndex(firstSlot));
    modTarget2 = addChild<ModTargetComponent>(*this, ParameterTable::modSourceIndex(firstSlot + 1));
    modDepth2 = addChild<ModDepthComponent>(*this, ParameterTable::modDepthIndex(firstSlot + 1));
    modTarget3 = addChild<ModTargetComponent>(*this, ParameterTable::modSourceIndex(firstSlot + 2));
    modDepth3 = addChild<ModDepthComponent>(*this, ParameterTable::modDepthIndex(firstSlot + 2));

    // The first module keeps the knob's own blue.
    if (second == 1)
        for (auto* knob : {knob1.get(), knob2.get(), knob3.get()})
            ModulePanel::setKnobColour(*knob, EditorPalette::secondModule);

    setSize(230, 130);
}

ThreeKnobPanel::~ThreeKnobPanel()
{
    knob1 = nullptr;
    knob2 = nullptr;
    knob3 = nullptr;
}

void ThreeKnobPanel::paint(juce::Graphics& g)
{
    ModulePanel::paintBox(g, *this);
}

// Fixed places whatever the panel's size: the chip across the top, each slot centred under its knob.
void ThreeKnobPanel::resized()
{
    knob1->setBounds(10, 30, 70, 50);
    knob2->setBounds(80, 30, 70, 50);
    knob3->setBounds(150, 30, 70, 50);
    sourceChip->setBounds(0, 0, 230, 20);
    modTarget1->setBounds(15, 85, 60, 15);
    modDepth1->setBounds(15, 105, 60, 15);
    modTarget2->setBounds(85, 85, 60, 15);
    modDepth2->setBounds(85, 105, 60, 15);
    modTarget3->setBounds(155, 85, 60, 15);
    modDepth3->setBounds(155, 105, 60, 15);
}

void ThreeKnobPanel::updateFromPlugin()
{
    knob1->updateFromPlugin();
    knob2->updateFromPlugin();
    knob3->updateFromPlugin();
    modTarget1->updateFromPlugin();
    modDepth1->updateFromPlugin();
    modTarget2->updateFromPlugin();
    modDepth2->updateFromPlugin();
    modTarget3->updateFromPlugin();
    modDepth3->updateFromPlugin();
}

// The chip edits nothing and gets no pointer.
void ThreeKnobPanel::setProcessor(QuorvelAudioProcessor* processorToUse)
{
    processor = processorToUse;
    for (auto* knob : {knob1.get(), knob2.get(), knob3.get()})
        knob->processor = processorToUse;
    for (auto* target : {modTarget1.get(), modTarget2.get(), modTarget3.get()})
        target->processor = processorToUse;
    for (auto* depth : {modDepth1.get(), modDepth2.get(), modDepth3.get()})
        depth->processor = processorToUse;
}
