#include "editor/ControlsPanel.h"

#include "editor/ModulePanel.h"

namespace
{
// The buffer panel leaves its refresh and wiring to its owner: three knobs, then three slots.
void wireBuffer(BufferComponent& panel, QuorvelAudioProcessor* processor)
{
    panel.processor = processor;
    for (auto* knob : {panel.sizeKnob.get(), panel.repeatsKnob.get(), panel.ratioKnob.get()})
        knob->processor = processor;
    for (auto* target : {panel.sizeTarget.get(), panel.repeatsTarget.get(), panel.ratioTarget.get()})
        target->processor = processor;
    for (auto* depth : {panel.sizeDepth.get(), panel.repeatsDepth.get(), panel.ratioDepth.get()})
        depth->processor = processor;
}

void refreshBuffer(BufferComponent& panel)
{
    panel.sizeKnob->updateFromPlugin();
    panel.repeatsKnob->updateFromPlugin();
    panel.ratioKnob->updateFromPlugin();
    panel.sizeTarget->updateFromPlugin();
    panel.sizeDepth->updateFromPlugin();
    panel.repeatsTarget->updateFromPlugin();
    panel.repeatsDepth->updateFromPlugin();
    panel.ratioTarget->updateFromPlugin();
    panel.ratioDepth->updateFromPlugin();
}
} // namespace

ControlsPanel::ControlsPanel()
{
    using ModulePanel::addChild;
    setName("Controls Panel");

    // Titles are shown as written, not translated.
    buffer1 = addChild<BufferComponent>(*this, 1, "BUFFER 1");
    buffer2 = addChild<BufferComponent>(*this, 2, "BUFFER 2");
    filter1 = addChild<FilterComponent>(*this, 1, "FILTER 1");
    filter2 = addChild<FilterComponent>(*this, 2, "FILTER 2");
    crusher1 = addChild<CrusherComponent>(*this, 1, "CRUSHER 1");
    crusher2 = addChild<CrusherComponent>(*this, 2, "CRUSHER 2");
    dryWet = addChild<DryWetComponent>(*this);
    lfo1 = addChild<LfoComponent>(*this, 1, "LFO 1");
    lfo2 = addChild<LfoComponent>(*this, 2, "LFO 2");
    lfo3 = addChild<LfoComponent>(*this, 3, "LFO 3");
    lfo4 = addChild<LfoComponent>(*this, 4, "LFO 4");
    mixer1 = addChild<MixerComponent>(*this, 1, "MIXER 1");
    mixer2 = addChild<MixerComponent>(*this, 2, "MIXER 2");
    mixer3 = addChild<MixerComponent>(*this, 3, "MIXER 3");
    mixer4 = addChild<MixerComponent>(*this, 4, "MIXER 4");
    multiplier1 = addChild<MultiplierComponent>(*this, 1, "MULTIPLIER 1");
    multiplier2 = addChild<MultiplierComponent>(*this, 2, "MULTIPLIER 2");

    setSize(920, 520);
}

ControlsPanel::~ControlsPanel()
{
    buffer1 = nullptr;
    buffer2 = nullptr;
    filter1 = nullptr;
    filter2 = nullptr;
    crusher1 = nullptr;
    crusher2 = nullptr;
    dryWet = nullptr;
    lfo1 = nullptr;
    lfo2 = nullptr;
    lfo3 = nullptr;
    lfo4 = nullptr;
    mixer1 = nullptr;
    mixer2 = nullptr;
    mixer3 = nullptr;
    mixer4 = nullptr;
    multiplier1 = nullptr;
    multiplier2 = nullptr;
}

void ControlsPanel::resized()
{
    // Four columns 230 wide and four rows 130 high, tiling the page; the two multipliers share the
    // cell under the output panel. Fixed, whatever the page's size.
    buffer1->setBounds(0, 0, 230, 130);
    buffer2->setBounds(0, 130, 230, 130);
    filter1->setBounds(230, 0, 230, 130);
    filter2->setBounds(230, 130, 230, 130);
    crusher1->setBounds(460, 0, 230, 130);
    crusher2->setBounds(460, 130, 230, 130);
    dryWet->setBounds(690, 0, 230, 130);
    lfo1->setBounds(0, 260, 230, 130);
    lfo2->setBounds(230, 260, 230, 130);
    lfo3->setBounds(460, 260, 230, 130);
    lfo4->setBounds(690, 260, 230, 130);
    mixer1->setBounds(0, 390, 230, 130);
    mixer2->setBounds(230, 390, 230, 130);
    mixer3->setBounds(460, 390, 230, 130);
    mixer4->setBounds(690, 390, 230, 130);
    multiplier1->setBounds(690, 130, 230, 65);
    multiplier2->setBounds(690, 195, 230, 65);
}

void ControlsPanel::setProcessor(QuorvelAudioProcessor* processorToUse)
{
    processor = processorToUse;
    wireBuffer(*buffer1, processorToUse);
    wireBuffer(*buffer2, processorToUse);
    for (auto* filter : {filter1.get(), filter2.get()})
        filter->setProcessor(processorToUse);
    for (auto* crusher : {crusher1.get(), crusher2.get()})
        crusher->setProcessor(processorToUse);
    dryWet->setProcessor(processorToUse);
    for (auto* lfo : {lfo1.get(), lfo2.get(), lfo3.get(), lfo4.get()})
        lfo->setProcessor(processorToUse);
    for (auto* mixer : {mixer1.get(), mixer2.get(), mixer3.get(), mixer4.get()})
        mixer->setProcessor(processorToUse);
    for (auto* multiplier : {multiplier1.get(), multiplier2.get()})
        multiplier->setProcessor(processorToUse);
}

void ControlsPanel::updateFromPlugin()
{
    refreshBuffer(*buffer1);
    refreshBuffer(*buffer2);
    for (auto* filter : {filter1.get(), filter2.get()})
        filter->updateFromPlugin();
    for (auto* crusher : {crusher1.get(), crusher2.get()})
        crusher->updateFromPlugin();
    dryWet->updateFromPlugin();
    for (auto* lfo : {lfo1.get(), lfo2.get(), lfo3.get(), lfo4.get()})
        lfo->updateFromPlugin();
    for (auto* mixer : {mixer1.get(), mixer2.get(), mixer3.get(), mixer4.get()})
        mixer->updateFromPlugin();
    for (auto* multiplier : {multiplier1.get(), multiplier2.get()})
        multiplier->updateFromPlugin();
}
