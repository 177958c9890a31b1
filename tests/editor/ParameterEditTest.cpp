// The shared edit sequence that every control runs after a user edit.
#include "EditorFixture.h"
#include "editor/CommitParameterEdit.h"

using ParameterEditTest = EditorControlTest;

TEST_F(ParameterEditTest, OneWholeGesturePerEditThenTheMessageLines)
{
    commitParameterEdit(processor.get(), 7, 0.5f);
    commitParameterEdit(processor.get(), 7, 0.25f);

    auto expected = HostEventLog::edit(7, 0.5f);
    const auto second = HostEventLog::edit(7, 0.25f);
    expected.insert(expected.end(), second.begin(), second.end());
    EXPECT_EQ(host.events, expected);

    EXPECT_EQ(bits(normalised(7)), bits(0.25f));
    EXPECT_EQ(processor->messageName.get(), "CUTOFF");
    // Read after the value is in place.
    EXPECT_EQ(processor->messageValue.get(), processor->getParameterText(7));
    EXPECT_TRUE(processor->newMessage);
}

TEST_F(ParameterEditTest, LearnArmsAndUnlearnRemovesTheBindingOfTheEditedParameterOnly)
{
    param(7).midiCC = 20;
    param(8).midiCC = 21;

    processor->learnMode = true;
    commitParameterEdit(processor.get(), 7, 0.5f);
    EXPECT_TRUE(param(7).learnArmed);
    EXPECT_EQ(param(7).midiCC, 20);

    processor->unlearnMode = true;
    commitParameterEdit(processor.get(), 7, 0.5f);
    EXPECT_TRUE(param(7).learnArmed);
    EXPECT_EQ(param(7).midiCC, -1);

    EXPECT_FALSE(param(8).learnArmed);
    EXPECT_EQ(param(8).midiCC, 21);
}

TEST_F(ParameterEditTest, AControlWithoutItsProcessorDoesNothing)
{
    commitParameterEdit(nullptr, 7, 0.5f);
    EXPECT_TRUE(host.events.empty());
}
