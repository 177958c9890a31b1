// Source chips and drop targets: the drop maps a chip's component name to its source.
#include "EditorFixture.h"
#include "editor/ModSourceComponent.h"
#include "editor/ModTargetComponent.h"
#include "plugin/ParameterTable.h"

namespace
{
constexpr int filter2CutoffModSrc = 76, dryWetInputSrc = 130;
const juce::Colour restColour(0x40aeaeae), hoverColour(0x80d02aff);

juce::DragAndDropTarget::SourceDetails dropOf(juce::Component* source)
{
    return {"Mod Source", source, {10, 10}};
}
} // namespace

using DropTest = EditorControlTest;

TEST_F(DropTest, EachOfTheEighteenChipsSelectsItsSourceAndTheTargetShowsIt)
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

        EXPECT_EQ(bits(normalised(filter2CutoffModSrc)), bits((float)k / 17.0f)) << k;
        EXPECT_EQ((int)(normalised(filter2CutoffModSrc) * 17.0f), k);
        EXPECT_EQ(host.events.size(), 3u);
        target.updateFromPlugin();
        EXPECT_EQ(target.text, ParameterTable::sourceDisplayTexts[(size_t)k]);
    }
    EXPECT_EQ(bits(normalised(filter2CutoffModSrc)), bits(1.0f));
}

TEST_F(DropTest, DroppingTheSourceAlreadyHeldStillRunsTheWholeEdit)
{
    ModTargetComponent target(dryWetInputSrc);
    wire(target);
    ModSourceComponent chip("LFO 1");
    chip.setName("Src_Lfo1");
    processor->learnMode = true;
    processor->unlearnMode = true;
    param(dryWetInputSrc).midiCC = 9;

    target.itemDropped(dropOf(&chip));
    target.itemDropped(dropOf(&chip));

    EXPECT_EQ(host.events.size(), 6u);
    EXPECT_EQ(processor->messageName.get(), "AUDIO INPUT");
    EXPECT_EQ(processor->messageValue.get(), "LFO 1");
    EXPECT_TRUE(param(dryWetInputSrc).learnArmed);
    EXPECT_EQ(param(dryWetInputSrc).midiCC, -1);
}

TEST_F(DropTest, AForeignNameOrAVanishedSourceChangesNothing)
{
    ModTargetComponent target(filter2CutoffModSrc);
    wire(target);
    setNormalised(filter2CutoffModSrc, 5.0f / 17.0f);
    processor->learnMode = true;
    host.events.clear();

    juce::Component other;
    for (const char* name :
         {"Mod Source Component", "src_Input", "Src_input", "Src_Input ", "", "Src_Multiplier3"})
    {
        other.setName(name);
        target.itemDragEnter(dropOf(&other));
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
    EXPECT_TRUE(host.events.empty());
    EXPECT_FALSE(processor->newMessage);
    EXPECT_FALSE(param(filter2CutoffModSrc).learnArmed);
}

TEST_F(DropTest, ATargetLightsOnlyWhileADragIsOverItAndDrawsInItsColours)
{
    ModTargetComponent target(filter2CutoffModSrc);
    wire(target);
    juce::Component anything;
    const auto details = dropOf(&anything);

    EXPECT_TRUE(target.isInterestedInDragSource(details));
    target.itemDragEnter(details);
    EXPECT_EQ(target.backgroundColour, hoverColour);
    EXPECT_TRUE(near(render(target).getPixelAt(5, 10), hoverColour));
    target.itemDragExit(details);
    EXPECT_EQ(target.backgroundColour, restColour);

    const auto image = render(target);
    EXPECT_TRUE(near(image.getPixelAt(5, 10), restColour));
    EXPECT_TRUE(near(image.getPixelAt(0, 10), juce::Colour(0xffaeaeae)));

    ModSourceComponent chip("INPUT");
    EXPECT_EQ(chip.getName(), "Mod Source Component");
    EXPECT_EQ(chip.getBounds(), juce::Rectangle<int>(0, 0, 145, 20));
    EXPECT_TRUE(near(render(chip).getPixelAt(5, 10), juce::Colour(0x80aeaeae)));
}
