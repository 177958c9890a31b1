// The processor's fixed answers to the host and its bus layout rule.
#include "ProcessorFixture.h"

namespace
{
juce::AudioProcessor::BusesLayout layout(const juce::AudioChannelSet& in, const juce::AudioChannelSet& out)
{
    juce::AudioProcessor::BusesLayout l;
    l.inputBuses.add(in);
    l.outputBuses.add(out);
    return l;
}
} // namespace

TEST_F(ProcessorTest, AnswersTheHostsFixedQuestions)
{
    EXPECT_EQ(processor->getName(), "Quorvel");
    EXPECT_TRUE(processor->acceptsMidi());
    EXPECT_FALSE(processor->producesMidi());
    EXPECT_EQ(processor->getTailLengthSeconds(), 0.0);
    EXPECT_TRUE(processor->hasEditor());
    EXPECT_EQ(processor->getNumPrograms(), 0);
    EXPECT_EQ(processor->getCurrentProgram(), 0);
    EXPECT_TRUE(processor->getProgramName(5).isEmpty());
    processor->setCurrentProgram(3);
    EXPECT_EQ(processor->getCurrentProgram(), 0);
    EXPECT_EQ(processor->getInputChannelName(0), "1");
    EXPECT_EQ(processor->getOutputChannelName(1), "2");
    EXPECT_TRUE(processor->isInputChannelStereoPair(7));
    EXPECT_FALSE(processor->silenceInProducesSilenceOut());
    EXPECT_EQ(QuorvelAudioProcessor::versionNumber, "v 1.3");
    EXPECT_EQ(processor->getTotalNumInputChannels(), 2);
    EXPECT_EQ(processor->getTotalNumOutputChannels(), 2);
}

TEST_F(ProcessorTest, AcceptsOnlyStereoInToStereoOut)
{
    using Set = juce::AudioChannelSet;
    EXPECT_TRUE(processor->checkBusesLayoutSupported(layout(Set::stereo(), Set::stereo())));
    EXPECT_FALSE(processor->checkBusesLayoutSupported(layout(Set::mono(), Set::mono())));
    EXPECT_FALSE(processor->checkBusesLayoutSupported(layout(Set::mono(), Set::stereo())));
    EXPECT_FALSE(processor->checkBusesLayoutSupported(layout(Set::disabled(), Set::stereo())));
    EXPECT_FALSE(processor->checkBusesLayoutSupported(layout(Set::stereo(), Set::disabled())));
    EXPECT_FALSE(processor->checkBusesLayoutSupported(layout(Set::create5point1(), Set::create5point1())));
}

TEST_F(ProcessorTest, StartsWithItsRequestsDownAndTheInitPreset)
{
    EXPECT_EQ(processor->presetName.get(), "Init");
    EXPECT_EQ(processor->presetIndex, 0);
    EXPECT_TRUE(processor->presetListChanged);
    EXPECT_FALSE(processor->loadPending);
    EXPECT_FALSE(processor->learnMode);
    EXPECT_FALSE(processor->unlearnMode);
    EXPECT_FALSE(processor->clearAllRequest);
    EXPECT_FALSE(processor->loadByIndexRequest);
    EXPECT_FALSE(processor->randomiseRequest);
    EXPECT_FALSE(processor->newMessage);
    EXPECT_EQ(processor->hostBpm, 120.0f);
    EXPECT_EQ(processor->scopeHistory.size(), 128u);
}

TEST_F(ProcessorTest, KeepsTheTempoAt120WithoutAPlayHead)
{
    processor->setPlayHead(nullptr);
    processor->prepareToPlay(48000.0, 64);
    juce::AudioBuffer<float> buffer(2, 64);
    buffer.clear();
    juce::MidiBuffer midi;
    processor->processBlock(buffer, midi);
    EXPECT_EQ(processor->hostBpm, 120.0f);
}
