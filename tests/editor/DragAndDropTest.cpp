// Source chips and drop targets: a drop maps the dragged component's name to its source.
#include "EditorFixture.h"
#include "editor/ModSourceComponent.h"
#include "editor/ModTargetComponent.h"
#include "plugin/ParameterTable.h"

namespace
{
constexpr int filter2CutoffModSrc = 76;
const juce::Colour restColour(0x40aeaeae), hoverColour(0x80d02aff);

juce::DragAndDropTarget::SourceDetails dropOf(juce::Component* source)
{
    return {"Mod Source", source, {10, 10}};
}
} // namespace

using DropTest = EditorControlTest;

TEST_F(DropTest, EachOfTheEighteenChipsSelectsItsSourceEvenWhenAlreadyHeld)
{
    ModTargetComponent target(filter2CutoffModSrc);
    wire(target);
    EXPECT_EQ(target.text, "None");

    for (int k = 0; k < ParameterTable::numSources; ++k)
    {
        ModSourceComponent chip(ParameterTable::sourceDisplayTexts[(size_t)k]);
        chip.setName(ParameterTable::sourceIdentifiers[(size_t)k]);
        host.events.clear();
        target.itemDropped(dropOf(&chip));
        target.itemDropped(dropOf(&chip));

        EXPECT_EQ(bits(normalised(filter2CutoffModSrc)), bits((float)k / 17.0f)) << k;
        EXPECT_EQ((int)(normalised(filter2CutoffModSrc) * 17.0f), k);
        EXPECT_EQ(host.events, HostEventLog::edit(filter2CutoffModSrc, (float)k / 17.0f) +
                                   HostEventLog::edit(filter2CutoffModSrc, (float)k / 17.0f));
        target.updateFromPlugin();
        EXPECT_EQ(target.text, ParameterTable::sourceDisplayTexts[(size_t)k]);
    }
    EXPECT_EQ(bits(normalised(filter2CutoffModSrc)), bits(1.0f));
    EXPECT_EQ(processor->messageName.get(), "MODULATION SOURCE");
}

TEST_F(DropTest, AForeignNameOrAVanishedSourceChangesNothingAndTheTargetReturnsToRest)
{
    ModTargetComponent target(filter2CutoffModSrc);
    wire(target);
    setNormalised(filter2CutoffModSrc, 5.0f / 17.0f);
    processor->learnMode = true;
    host.events.clear();

    juce::Component other;
    for (const char* name : {"Mod Source Component", "src_Input", "Src_input", "Src_Input ", "", "Src_Lfo5"})
    {
        other.setName(name);
        target.itemDragEnter(dropOf(&other));
        EXPECT_TRUE(near(render(target).getPixelAt(5, 10), hoverColour));
        target.itemDropped(dropOf(&other));
        EXPECT_EQ(target.backgroundColour, restColour) << name;
    }

    // The chip is deleted while it is being dragged.
    auto chip = std::make_unique<ModSourceComponent>("INPUT");
    chip->setName("Src_Input");
    const auto details = dropOf(chip.get());
    chip.reset();
    target.itemDropped(details);

    EXPECT_EQ(bits(normalised(filter2CutoffModSrc)), bits(5.0f / 17.0f));
    EXPECT_EQ(host.events, "");
    EXPECT_FALSE(processor->newMessage);
    EXPECT_FALSE(param(filter2CutoffModSrc).learnArmed);
}
