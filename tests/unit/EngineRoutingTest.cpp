// Routing through the processor: the one-sample rule for feedback, channel independence, NONE inputs and
// out-of-range source indices.
#include "EngineTestSupport.h"

#include "plugin/Modulation.h"

#include "torva/torva_juce_numeric.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <map>

using namespace engine;
using namespace engineTest;
using torvaLib::denormalGuard;

namespace
{

class EngineRouting : public EngineFixture
{
protected:
    // Output stage fully wet from the given source, every mixer at Mix 0 (its output is source A).
    void wetFrom(int source)
    {
        setPlain(dryWetParam, 100.0f);
        setSource(inputSourceIndex(inDryWet), source);
        for (int n = 0; n < numMixers; ++n)
            setPlain(mixerMixParam(n), 0.0f);
    }
};

const std::vector<float> ramp = {0.5f, 1.0f, -0.5f, 0.25f, -1.0f, 0.75f};

} // namespace

TEST_F(EngineRouting, LaterSourcesArriveOneSampleLate)
{
    // Mixer 2 reads Mixer 1, which ran earlier in the same sample: no delay.
    wetFrom(srcMixer2);
    setSource(mixerSourceAParam(0), srcInput);
    setSource(mixerSourceAParam(1), srcMixer1);
    auto out = run(ramp);
    for (size_t s = 0; s < ramp.size(); ++s)
        EXPECT_EQ(bits(out.getSample(0, (int)s)), bits(denormalGuard(denormalGuard(denormalGuard(ramp[s])))));

    // Mixer 1 reads Mixer 2, which runs later: the previous sample, carried across the block boundary.
    wetFrom(srcMixer1);
    setSource(mixerSourceAParam(0), srcMixer2);
    setSource(mixerSourceAParam(1), srcInput);
    out = run(ramp);
    const float lastMixer2 = denormalGuard(denormalGuard(ramp.back()));
    EXPECT_EQ(bits(out.getSample(0, 0)), bits(denormalGuard(denormalGuard(lastMixer2))));
    for (size_t s = 1; s < ramp.size(); ++s)
        EXPECT_EQ(bits(out.getSample(0, (int)s)),
                  bits(denormalGuard(denormalGuard(denormalGuard(ramp[s - 1])))));
}

TEST_F(EngineRouting, AModuleReadingItselfGetsItsPreviousOutput)
{
    // Mixer 1 = its own previous output (A) blended half and half with the input (B).
    wetFrom(srcMixer1);
    setSource(mixerSourceAParam(0), srcMixer1);
    setSource(mixerSourceBParam(0), srcInput);
    setPlain(mixerMixParam(0), 50.0f);
    const std::vector<float> impulse = {1.0f, 0.0f, 0.0f, 0.0f};
    auto out = run(impulse);

    float previous = 0.0f;
    for (size_t s = 0; s < impulse.size(); ++s)
    {
        const float mixer = (denormalGuard(impulse[s]) * 0.5f) + ((1.0f - 0.5f) * denormalGuard(previous));
        EXPECT_EQ(bits(out.getSample(0, (int)s)), bits(denormalGuard(mixer)));
        previous = mixer;
    }
}

TEST_F(EngineRouting, ChannelOneNeverHearsChannelZero)
{
    // A patch where every audio module runs and feeds back, with no LFO modulation (LFOs read channel 0).
    for (int n = 0; n < 2; ++n)
    {
        setWhole(crusherBitsParam(n), 5);
        setWhole(crusherRateParam(n), 3);
        setPlain(crusherMixParam(n), 70.0f);
        setPlain(filterMorphParam(n), 40.0f);
    }
    setSource(mixerSourceAParam(1), srcMixer1);
    setSource(mixerSourceBParam(1), srcBuffer2);
    setSource(multiplierSourceAParam(0), srcMixer2);
    setSource(multiplierSourceBParam(0), srcFilter1);
    setSource(inputSourceIndex(inBuffer2), srcMultiplier1);
    setSource(modSourceIndex(dryWetSlot), srcFilter2);
    setPlain(modDepthIndex(dryWetSlot), 80.0f);

    juce::Random random(7);
    std::vector<float> left(2000), right(2000), otherLeft(2000);
    for (size_t s = 0; s < left.size(); ++s)
    {
        left[s] = random.nextFloat() - 0.5f;
        right[s] = random.nextFloat() - 0.5f;
        otherLeft[s] = random.nextFloat() - 0.5f;
    }

    auto first = run(left, right);
    auto other = makeProcessor();
    auto& second = *other;
    for (int i = 0; i < 132; ++i)
        second.setParameter(i, processor->getParameter(i));
    juce::AudioBuffer<float> buffer(2, (int)left.size());
    for (int s = 0; s < buffer.getNumSamples(); ++s)
    {
        buffer.setSample(0, s, otherLeft[(size_t)s]);
        buffer.setSample(1, s, right[(size_t)s]);
    }
    second.processBlock(buffer, midi);

    for (int s = 0; s < buffer.getNumSamples(); ++s)
        ASSERT_EQ(bits(first.getSample(1, s)), bits(buffer.getSample(1, s))) << "sample " << s;
}

TEST_F(EngineRouting, AOneChannelBufferRunsChannelZeroAlone)
{
    setWhole(crusherBitsParam(0), 3);
    setSource(mixerSourceAParam(1), srcFilter1);
    setSource(inputSourceIndex(inDryWet), srcMixer2);
    std::vector<float> in(300);
    for (size_t s = 0; s < in.size(); ++s)
        in[s] = std::sin(0.05f * (float)s);

    auto other = makeProcessor();
    for (int i = 0; i < 132; ++i)
        other->setParameter(i, processor->getParameter(i));
    juce::AudioBuffer<float> mono(1, (int)in.size());
    for (int s = 0; s < mono.getNumSamples(); ++s)
        mono.setSample(0, s, in[(size_t)s]);
    other->processBlock(mono, midi);

    const auto stereo = run(in);
    for (int s = 0; s < mono.getNumSamples(); ++s)
        ASSERT_EQ(bits(mono.getSample(0, s)), bits(stereo.getSample(0, s))) << "sample " << s;
}

TEST_F(EngineRouting, ChannelsBeyondTheEnginesTwoAreLeftAlone)
{
    juce::AudioBuffer<float> buffer(3, 64);
    for (int c = 0; c < 3; ++c)
        for (int s = 0; s < 64; ++s)
            buffer.setSample(c, s, 0.25f);
    processor->processBlock(buffer, midi);
    for (int s = 0; s < 64; ++s)
        ASSERT_EQ(buffer.getSample(2, s), 0.25f);
}

TEST_F(EngineRouting, DefaultPatchLeavesASilentChannelSilent)
{
    juce::Random random(3);
    std::vector<float> left(4000), right(4000, 0.0f);
    for (auto& v : left)
        v = random.nextFloat() * 2.0f - 1.0f;
    auto out = run(left, right);
    for (int s = 0; s < out.getNumSamples(); ++s)
        ASSERT_EQ(out.getSample(1, s), 0.0f);
}

TEST_F(EngineRouting, SourcesOutsideTheListReadSilence)
{
    EXPECT_EQ(processor->readSource(srcNone, 0), 0.0f);
    EXPECT_EQ(processor->readSource(18, 0), 0.0f);
    EXPECT_EQ(processor->readSource(-1, 1), 0.0f);
    EXPECT_EQ(processor->readSource(srcInput, 2), 0.0f);

    runConstant(1, 0.5f);
    EXPECT_EQ(processor->readSource(srcInput, 1), 0.5f);
}

TEST_F(EngineRouting, AnInputSampleThatIsNoNumberEntersAsSilence)
{
    // The default patch, whose filters would otherwise keep a NaN for good, with a buffer feeding itself.
    setSource(inputSourceIndex(inBuffer2), srcBuffer2);
    const float inf = std::numeric_limits<float>::infinity();
    const auto poisoned = run({0.5f, std::nanf(""), inf, -inf, 0.25f, 0.75f});

    processor = makeProcessor();
    setSource(inputSourceIndex(inBuffer2), srcBuffer2);
    const auto silent = run({0.5f, 0.0f, 0.0f, 0.0f, 0.25f, 0.75f});

    for (int c = 0; c < 2; ++c)
        for (int s = 0; s < 6; ++s)
            EXPECT_EQ(bits(poisoned.getSample(c, s)), bits(silent.getSample(c, s))) << c << ", " << s;
}

TEST_F(EngineRouting, FilterWithNoInputStopsAndResumes)
{
    runConstant(64, 0.5f);
    const auto& filter = *processor->filter1Svf[0];
    const double low = filter.low, band = filter.band;
    ASSERT_NE(low, 0.0);

    setSource(inputSourceIndex(inFilter1), srcNone);
    runConstant(64, 0.5f);
    EXPECT_EQ(source(0, srcFilter1), 0.0f);
    EXPECT_EQ(filter.low, low);
    EXPECT_EQ(filter.band, band);

    setSource(inputSourceIndex(inFilter1), srcBuffer1);
    runConstant(1, -0.5f);
    EXPECT_NE(filter.low, low);
    EXPECT_NE(source(0, srcFilter1), 0.0f);
}

TEST_F(EngineRouting, CrusherWithNoInputHoldsItsCounter)
{
    setWhole(crusherRateParam(0), 4);
    runConstant(2, 0.5f);
    const int counter = processor->crusher1Reducer[0]->holdCounter;

    setSource(inputSourceIndex(inCrusher1), srcNone);
    runConstant(5, 0.5f);
    EXPECT_EQ(source(0, srcCrusher1), 0.0f);
    EXPECT_EQ(processor->crusher1Reducer[0]->holdCounter, counter);
}

TEST_F(EngineRouting, MultipliersAndMixersCombineTheirTwoSources)
{
    setSource(multiplierSourceAParam(0), srcInput);
    setSource(multiplierSourceBParam(0), srcInput);
    setSource(multiplierSourceAParam(1), srcInput);
    setSource(mixerSourceAParam(2), srcNone);
    setSource(mixerSourceBParam(2), srcNone);
    runConstant(1, 0.3f);
    EXPECT_EQ(bits(source(0, srcMultiplier1)), bits(0.3f * 0.3f));
    EXPECT_EQ(source(0, srcMultiplier2), 0.0f);
    EXPECT_EQ(source(1, srcMixer3), 0.0f);

    setPlain(mixerMixParam(2), 100.0f);
    setSource(mixerSourceAParam(2), srcInput);
    setSource(mixerSourceBParam(2), srcMultiplier1);
    runConstant(1, 0.2f);
    // Multipliers run after the mixers: Mixer 3 hears the previous sample's product.
    EXPECT_EQ(bits(source(0, srcMixer3)), bits(denormalGuard(0.3f * 0.3f)));
}

// The engine runs a module of one sample before the modules of the sample before it have all run, where
// nothing it reads depends on them, and in the design's order wherever something does. Either way a block
// must give the samples that one-sample blocks give: through feedback from the later modules into the
// buffers and the filters, and through MIDI controllers that move the routing in the middle of a block,
// which every module of their sample must see as if the parameter had been set before it.
TEST_F(EngineRouting, ABlockGivesTheSamplesOfOneSampleBlocks)
{
    const int length = 400;
    juce::Random random(7);
    juce::AudioBuffer<float> noise(2, length);
    for (int c = 0; c < 2; ++c)
        for (int s = 0; s < length; ++s)
            noise.setSample(c, s, random.nextFloat() * 1.6f - 0.8f);

    // Controller value v sets a source parameter to 17 * v / 127, truncated.
    struct Move
    {
        int sample, controller, value;
    };
    const Move moves[] = {{100, 20, 8},   // buffer 1 from INPUT: the head no longer reads a later module
                          {200, 21, 29},  // filter 2 from BUFFER 2 ...
                          {200, 22, 67},  // ... and the cutoff slot from LFO 1: the filters read no later one
                          {300, 20, 38}}; // buffer 1 from FILTER 2
    const std::map<int, int> learned = {{20, inputSourceIndex(inBuffer1)},
                                        {21, inputSourceIndex(inFilter2)},
                                        {22, modSourceIndex(filterCutoffSlot(0))}};
    // One block of the whole length with the controllers, or one-sample blocks with the parameters set
    // between them to the values the controllers give.
    auto render = [&](int blockSize)
    {
        processor = makeProcessor();
        processor->prepareToPlay(44100.0, blockSize);
        setPlain(bufferSizeParam(0), 2.0f);
        setSource(inputSourceIndex(inBuffer1), srcMixer1);
        setSource(inputSourceIndex(inFilter2), srcMixer2);
        setSource(mixerSourceAParam(1), srcFilter1);
        setSource(mixerSourceBParam(1), srcInput);
        setPlain(mixerMixParam(1), 50.0f);
        setSource(modSourceIndex(filterCutoffSlot(0)), srcCrusher2);
        setPlain(modDepthIndex(filterCutoffSlot(0)), 50.0f);
        setWhole(crusherBitsParam(1), 6);
        setPlain(crusherMixParam(1), 100.0f);
        for (const auto& [controller, index] : learned)
            param(index).midiCC = controller;

        juce::AudioBuffer<float> out(2, length);
        for (int start = 0; start < length; start += blockSize)
        {
            juce::AudioBuffer<float> block(2, blockSize);
            juce::MidiBuffer events;
            for (int c = 0; c < 2; ++c)
                block.copyFrom(c, 0, noise, c, start, blockSize);
            for (const auto& move : moves)
                if (move.sample >= start && move.sample < start + blockSize)
                {
                    if (blockSize == length)
                        events.addEvent(juce::MidiMessage::controllerEvent(1, move.controller, move.value),
                                        move.sample - start);
                    else
                        processor->setParameter(learned.at(move.controller), (float)move.value / 127.0f);
                }
            processor->processBlock(block, events);
            for (int c = 0; c < 2; ++c)
                out.copyFrom(c, start, block, c, 0, blockSize);
        }
        return out;
    };

    const auto whole = render(length);
    const auto split = render(1);
    for (int c = 0; c < 2; ++c)
        for (int s = 0; s < length; ++s)
            ASSERT_EQ(bits(whole.getSample(c, s)), bits(split.getSample(c, s)))
                << "channel " << c << ", sample " << s;
}
