// MIDI input, handed to the processor with audio blocks as a host does: learning and following
// controllers, program changes, LFO-restarting notes, clearing bindings, and messages that must be ignored.
#include "HostEventLog.h"
#include "ProcessorFixture.h"

class MidiInputTest : public ProcessorTest
{
protected:
    void SetUp() override
    {
        ProcessorTest::SetUp();
        processor->addListener(&host);
    }

    void TearDown() override { processor->removeListener(&host); }

    void send(std::initializer_list<juce::MidiMessage> messages)
    {
        juce::MidiBuffer midi;
        int position = 0;
        for (const auto& message : messages)
            midi.addEvent(message, position++);
        runBlock(midi);
    }

    void sendBytes(std::initializer_list<juce::uint8> bytes)
    {
        const std::vector<juce::uint8> data(bytes);
        juce::MidiBuffer midi;
        midi.addEvent(data.data(), (int)data.size(), 0);
        ASSERT_EQ((*midi.cbegin()).numBytes, (int)data.size())
            << "the host hands the short message on as it is";
        runBlock(midi);
    }

    static juce::MidiMessage cc(int channel, int controller, int value)
    {
        return juce::MidiMessage::controllerEvent(channel, controller, value);
    }

    HostEventLog host;
};

TEST_F(MidiInputTest, LearnBindsEveryArmedParameterAndTheSameControllerMovesThem)
{
    processor->learnMode = true;
    param(3).learnArmed = true;
    param(40).learnArmed = true;

    send({cc(5, 20, 64)});

    for (const int i : {3, 40})
    {
        EXPECT_EQ(param(i).midiCC, 20);
        EXPECT_FALSE(param(i).learnArmed);
        EXPECT_EQ(bits(processor->getParameter(i)), bits(64 / 127.0f));
    }
    EXPECT_EQ(host.events, HostEventLog::edit(3, 64 / 127.0f) + HostEventLog::edit(40, 64 / 127.0f));
    EXPECT_TRUE(processor->newMessage);
    EXPECT_EQ(processor->messageName.get(), processor->getParameterDisplayName(40))
        << "the highest index shows";
    EXPECT_EQ(processor->messageValue.get(), processor->getParameterText(40));

    // Learn mode off: a newly armed parameter waits, the bound ones follow.
    processor->learnMode = false;
    param(7).learnArmed = true;
    send({cc(1, 20, 127)});
    EXPECT_EQ(param(7).midiCC, -1);
    EXPECT_TRUE(param(7).learnArmed);
    EXPECT_EQ(processor->getParameter(3), 1.0f);
    EXPECT_EQ(processor->getParameter(40), 1.0f);
}

TEST_F(MidiInputTest, OtherControllersAndAllNotesOffMoveNothing)
{
    param(10).midiCC = 7;
    param(11).midiCC = 123;
    const float before11 = processor->getParameter(11);
    send({cc(1, 8, 100)});

    processor->learnMode = true;
    param(12).learnArmed = true;
    send({cc(1, 123, 0)});
    EXPECT_TRUE(host.events.empty());
    EXPECT_EQ(param(12).midiCC, -1) << "all-notes-off never binds";
    EXPECT_TRUE(param(12).learnArmed);
    EXPECT_EQ(processor->getParameter(11), before11);
    EXPECT_FALSE(processor->newMessage);

    // Controllers 120 to 127 other than 123 are ordinary controllers.
    send({cc(16, 127, 0)});
    EXPECT_EQ(param(12).midiCC, 127);
    EXPECT_EQ(processor->getParameter(12), 0.0f);
}

TEST_F(MidiInputTest, ShortMessagesAreIgnored)
{
    param(0).midiCC = 20;
    const float before = processor->getParameter(0);
    sendBytes({0xb0, 20});
    sendBytes({0xc0});
    sendBytes({0x90, 60});
    EXPECT_TRUE(host.events.empty());
    EXPECT_EQ(processor->getParameter(0), before);
    EXPECT_FALSE(processor->loadByIndexRequest);
}

TEST_F(MidiInputTest, ProgramChangesAskForAPresetAtTheNextBlockAndTheLastOneCounts)
{
    juce::File folder(processor->presetManager.productFolder);
    for (int n = 0; n < 3; ++n)
        ASSERT_TRUE(folder.getChildFile("P" + juce::String(n) + ".vxp")
                        .replaceWithText("<VOLKARIS_PRESET PresetName=\"P" + juce::String(n) + "\"/>"));
    processor->presetManager.update();

    send({juce::MidiMessage::programChange(3, 1), juce::MidiMessage::programChange(9, 2)});
    EXPECT_EQ(processor->presetIndex, 2);
    EXPECT_TRUE(processor->loadByIndexRequest);
    EXPECT_EQ(processor->presetName.get(), "Init") << "nothing loads before the next block";

    runBlock();
    EXPECT_EQ(processor->presetName.get(), "P2");
    EXPECT_FALSE(processor->loadByIndexRequest);
}

TEST_F(MidiInputTest, ClearRemovesEveryBindingAtTheNextBlockAndKeepsTheMarks)
{
    for (int i = 0; i < QuorvelAudioProcessor::numParameters; ++i)
        param(i).midiCC = i % 128;
    param(5).learnArmed = true;

    processor->clearAllRequest = true;
    runBlock();
    for (int i = 0; i < QuorvelAudioProcessor::numParameters; ++i)
        EXPECT_EQ(param(i).midiCC, -1);
    EXPECT_TRUE(param(5).learnArmed);
    EXPECT_FALSE(processor->clearAllRequest);
}

TEST_F(MidiInputTest, NoteOnsOnChannelsOneToFourRestartTheirLfoInTheirOwnSample)
{
    const auto note = [](int channel, int velocity)
    { return juce::MidiMessage::noteOn(channel, 60, (juce::uint8)velocity); };
    juce::MidiBuffer midi;
    midi.addEvent(note(2, 100), 5);
    midi.addEvent(note(2, 100), 10); // the same note again restarts again
    midi.addEvent(note(1, 0), 10);   // a note-off in disguise
    midi.addEvent(juce::MidiMessage::noteOff(3, 60), 10);
    midi.addEvent(note(5, 100), 10); // channels 5 to 16 drive no LFO
    runBlock(midi, 64);

    auto untouched = makeProcessor();
    juce::AudioBuffer<float> audio(2, 64);
    audio.clear();
    juce::MidiBuffer none;
    untouched->prepareToPlay(44100.0, 64);
    untouched->processBlock(audio, none);

    // LFO 2 restarted before its step at sample 10: it has stepped 54 times from the start of its table.
    torvaLib::Lfo expected;
    expected.setWave(processor->lfo2.wave);
    expected.increment = processor->lfo2.increment;
    expected.restart();
    float last = 0.0f;
    for (int s = 10; s < 64; ++s)
        last = expected.step();
    EXPECT_EQ(bits(processor->lfo2.phase), bits(expected.phase));
    EXPECT_EQ(processor->lfo2.previousIndex, expected.previousIndex);
    EXPECT_EQ(bits(processor->sourceValue.value[ParameterTable::srcLfo2][0]), bits(last));

    const torvaLib::Lfo* others[] = {&processor->lfo1, &processor->lfo3, &processor->lfo4};
    const torvaLib::Lfo* reference[] = {&untouched->lfo1, &untouched->lfo3, &untouched->lfo4};
    for (int k = 0; k < 3; ++k)
    {
        EXPECT_EQ(bits(others[k]->phase), bits(reference[k]->phase)) << "LFO " << k;
        EXPECT_EQ(others[k]->previousIndex, reference[k]->previousIndex) << "LFO " << k;
    }
}
