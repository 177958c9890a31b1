// The shared edit sequence that every control runs after a user edit.
#include "EditorFixture.h"
#include "editor/CommitParameterEdit.h"

using ParameterEditTest = EditorControlTest;

TEST_F(ParameterEditTest, OneWholeGesturePerEditThenMessageLinesAndLearnMarks)
{
    param(7).midiCC = 20;
    param(8).midiCC = 21;
    commitParameterEdit(processor.get(), 7, 0.5f);
    processor->learnMode = true;
    processor->unlearnMode = true;
    commitParameterEdit(processor.get(), 7, 0.25f);

    EXPECT_EQ(host.events, HostEventLog::edit(7, 0.5f) + HostEventLog::edit(7, 0.25f));
    EXPECT_EQ(bits(normalised(7)), bits(0.25f));
    EXPECT_EQ(processor->messageName.get(), "CUTOFF");
    // Read after the value is in place.
    EXPECT_EQ(processor->messageValue.get(), processor->getParameterText(7));
    EXPECT_TRUE(processor->newMessage);
    // With both modes on, the edit arms the parameter and removes its binding; no other one is touched.
    EXPECT_TRUE(param(7).learnArmed);
    EXPECT_EQ(param(7).midiCC, -1);
    EXPECT_FALSE(param(8).learnArmed);
    EXPECT_EQ(param(8).midiCC, 21);

    host.events.clear();
    commitParameterEdit(nullptr, 7, 0.5f); // a control whose processor is not yet written
    EXPECT_EQ(host.events, "");
}
