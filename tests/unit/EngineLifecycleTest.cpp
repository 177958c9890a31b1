// Prepare-to-play's reset rules, the block start (requests, tempo, snapshot, set-up) with and without
// samples, the floating-point environment and the scope history.
#include "EngineTestSupport.h"

#include "torva/torva_juce_numeric.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#if defined(__SSE__)
#include <xmmintrin.h>
#endif

using namespace engine;
using namespace engineTest;
using torvaLib::denormalGuard;

namespace
{

class EngineLifecycle : public EngineFixture
{
};

class FixedTempo : public juce::AudioPlayHead
{
public:
    explicit FixedTempo(juce::Optional<double> tempo) : bpm(tempo) {}
    juce::Optional<PositionInfo> getPosition() const override
    {
        PositionInfo info;
        info.setBpm(bpm);
        return info;
    }
    juce::Optional<double> bpm;
};

} // namespace

TEST_F(EngineLifecycle, NewRateRescalesBuffersAndEveryPrepareClears)
{
    auto& p = *processor;
    p.prepareToPlay(44100.0, 512);
    EXPECT_EQ(p.buffer1Stutter[0]->bufferLength, 88200);

    runConstant(1000, 0.5f);
    p.prepareToPlay(48000.0, 64);
    EXPECT_EQ(p.lastSampleRate, 48000.0);
    for (auto* stutters : {&p.buffer1Stutter, &p.buffer2Stutter})
        for (int c = 0; c < 2; ++c)
        {
            EXPECT_EQ((*stutters)[c]->bufferLength, 96000);
            EXPECT_EQ((*stutters)[c]->sampleRate, 48000.0);
        }
    EXPECT_EQ(p.filter1Svf[1]->sampleRate, 48000.0);
    EXPECT_EQ(p.lfo4.sampleRate, 48000.0);

    // Size 145 ms at 48 kHz rounds through single precision to 6960 samples.
    setWhole(bufferSizeParam(0), 145);
    runConstant(10, 0.5f);
    EXPECT_EQ(p.buffer1Stutter[1]->size, 6960);

    // The same rate again only clears: buffers, filter states and holds, not the source values or LFOs.
    setWhole(crusherRateParam(1), 8);
    runConstant(3, 0.5f);
    const float buffered = source(0, srcBuffer1);
    const float lfoPhase = p.lfo1.phase;
    p.prepareToPlay(48000.0, 4096);
    EXPECT_EQ(p.buffer1Stutter[0]->bufferLength, 96000);
    EXPECT_EQ(p.buffer1Stutter[0]->buffer[0], 0.0f);
    EXPECT_EQ(p.buffer1Stutter[0]->readPosition, 0.0f);
    EXPECT_EQ(p.filter2Svf[1]->low, 0.0);
    EXPECT_EQ(p.crusher2Reducer[1]->holdCounter, 0);
    EXPECT_EQ(source(0, srcBuffer1), buffered);
    EXPECT_EQ(p.lfo1.phase, lfoPhase);
}

TEST_F(EngineLifecycle, UnusableRatesChangeNothing)
{
    auto& p = *processor;
    setWhole(crusherRateParam(0), 8);
    runConstant(100, 0.5f);
    const float recorded = p.buffer1Stutter[0]->buffer[10];
    const double low = p.filter1Svf[0]->low;
    const int counter = p.crusher1Reducer[0]->holdCounter;
    ASSERT_NE(recorded, 0.0f);

    for (double rate : {0.0, -44100.0, std::nan(""), std::numeric_limits<double>::infinity()})
    {
        p.prepareToPlay(rate, 512);
        EXPECT_EQ(p.lastSampleRate, 44100.0);
        EXPECT_EQ(p.buffer1Stutter[0]->bufferLength, 88200);
        EXPECT_EQ(p.buffer1Stutter[0]->buffer[10], recorded);
        EXPECT_EQ(p.filter1Svf[0]->low, low);
        EXPECT_EQ(p.crusher1Reducer[0]->holdCounter, counter);
        EXPECT_EQ(p.lfo1.sampleRate, 44100.0);
    }
}

TEST_F(EngineLifecycle, EmptyBlockStillServesTheBlockStart)
{
    auto& p = *processor;
    p.loadByIndexRequest = true;
    p.clearAllRequest = true;
    p.randomiseRequest = true;
    FixedTempo tempo(90.0);
    p.setPlayHead(&tempo);
    const float phase = p.lfo1.phase;

    juce::AudioBuffer<float> empty(2, 0);
    p.processBlock(empty, midi);
    EXPECT_FALSE(p.loadByIndexRequest);
    EXPECT_FALSE(p.clearAllRequest);
    EXPECT_FALSE(p.randomiseRequest);
    EXPECT_EQ(p.hostBpm, 90.0f);

    p.setParameter(globalGainParam, 1.0f); // +6 dB
    p.processBlock(empty, midi);
    EXPECT_EQ(p.outputGain, exp10f(6.0f * 0.05f));
    EXPECT_EQ(p.lfo1.phase, phase);
    EXPECT_EQ(p.scopeDecimation, 0);
    p.setPlayHead(nullptr);
}

TEST_F(EngineLifecycle, TempoComesFromThePlayHeadOrDefaultsTo120)
{
    auto& p = *processor;
    FixedTempo none({});
    p.setPlayHead(&none);
    runConstant(1, 0.0f);
    EXPECT_EQ(p.hostBpm, 120.0f);

    FixedTempo zero(0.0);
    p.setPlayHead(&zero);
    p.setParameter(lfoSyncParam(2), 1.0f);
    runConstant(1, 0.0f);
    EXPECT_EQ(p.hostBpm, 0.0f);
    EXPECT_EQ(p.lfo3.frequency, 0.0f); // no tempo: the synced LFO stands still
    p.setPlayHead(nullptr);
}

TEST_F(EngineLifecycle, OutputGainFollowsTheDecibelValue)
{
    auto& p = *processor;
    runConstant(1, 0.0f);
    EXPECT_EQ(p.outputGain, 1.0f);
    p.setParameter(globalGainParam, 0.0f); // -70 dB
    runConstant(1, 0.0f);
    EXPECT_EQ(p.outputGain, exp10f(-70.0f * 0.05f));
    EXPECT_NEAR(p.outputGain, 0.00031622776f, 1e-10f);
}

#if defined(__SSE__)
TEST_F(EngineLifecycle, DenormalsFlushInsideTheBlockAndTheRegisterComesBack)
{
    setSource(multiplierSourceAParam(0), srcInput);
    setSource(multiplierSourceBParam(0), srcInput);

    const unsigned int before = _mm_getcsr();
    runConstant(1, 1.0e-20f); // the product 1e-40 is a denormal
    EXPECT_EQ(_mm_getcsr(), before);
    EXPECT_EQ(source(0, srcMultiplier1), 0.0f);
}
#endif

TEST_F(EngineLifecycle, ScopeTakesEvery32ndSampleAcrossBlocks)
{
    auto& p = *processor;
    setPlain(dryWetParam, 0.0f); // the output is the guarded input
    std::vector<float> first(10), second(30);
    for (size_t s = 0; s < first.size(); ++s)
        first[s] = 0.01f * (float)(s + 1);
    for (size_t s = 0; s < second.size(); ++s)
        second[s] = 0.01f * (float)(s + 11);

    run(first);
    run(second);
    EXPECT_EQ(bits(p.scopeHistory[1].load()), bits(denormalGuard(first[0])));
    EXPECT_EQ(bits(p.scopeHistory[0].load()), bits(denormalGuard(second[22])));
    EXPECT_EQ(p.scopeHistory[2].load(), 0.0f);
    EXPECT_EQ(p.scopeHistory.size(), 128u);
    EXPECT_EQ(p.scopeDecimation, 40 % 32);
}
