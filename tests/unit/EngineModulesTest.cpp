// The modules inside the running processor: a buffer's capture and repeat timing at 48 kHz, the crusher's
// mix, the LFOs' tempo sync and their order within a sample.
#include "EngineTestSupport.h"

#include "plugin/Modulation.h"
#include "torva/torva_juce_numeric.h"
#include "torva/torva_juce_reducer.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace engine;
using namespace engineTest;
using torvaLib::denormalGuard;

namespace
{

class EngineModules : public EngineFixture
{
};

} // namespace

TEST_F(EngineModules, BufferRepeatsItsLoopAt48k)
{
    processor->prepareToPlay(48000.0, 512);
    setWhole(bufferSizeParam(0), 145); // 6960 samples
    setPlain(dryWetParam, 100.0f);
    setSource(inputSourceIndex(inDryWet), srcBuffer1);

    std::vector<float> in(20881);
    for (size_t s = 0; s < in.size(); ++s)
        in[s] = (float)(s % 997) / 997.0f - 0.5f;
    const auto out = run(in);

    // Repeats 3: one capture passed through, two replays, then a fresh capture at sample 20880.
    EXPECT_EQ(bits(out.getSample(0, 6959)), bits(denormalGuard(in[6959])));
    EXPECT_EQ(bits(out.getSample(0, 6960)), bits(denormalGuard(in[0])));
    EXPECT_EQ(bits(out.getSample(0, 20879)), bits(denormalGuard(in[6959])));
    EXPECT_EQ(bits(out.getSample(0, 20880)), bits(denormalGuard(in[20880])));
}

TEST_F(EngineModules, CrusherMixesQuantisedAndDrySignal)
{
    setSource(inputSourceIndex(inCrusher1), srcInput);
    setWhole(crusherBitsParam(0), 4);
    setPlain(crusherMixParam(0), 100.0f);

    runConstant(1, 0.3f);
    EXPECT_EQ(bits(source(0, srcCrusher1)), bits(denormalGuard(0.3125f)));

    // Silence stays silent even though the quantiser maps 0 to -1/16.
    runConstant(1, 0.0f);
    EXPECT_EQ(source(0, srcCrusher1), 0.0f);

    // Mix 0 passes the guarded input.
    setPlain(crusherMixParam(0), 0.0f);
    runConstant(1, 0.2f);
    EXPECT_EQ(bits(source(0, srcCrusher1)), bits(0.20000001788139343f));
}

// A hold repeats the quantised value it took, not the input, and quantises only the samples it takes.
TEST_F(EngineModules, CrusherHoldRepeatsItsQuantisedValue)
{
    setSource(inputSourceIndex(inCrusher1), srcInput);
    setWhole(crusherBitsParam(0), 4);
    setWhole(crusherRateParam(0), 3);
    setPlain(crusherMixParam(0), 100.0f);

    torvaLib::Bitcrusher quantiser;
    quantiser.setBits(4);
    float held = 0.0f;
    for (int s = 0; s < 9; ++s)
    {
        const float x = 0.05f + 0.1f * (float)s;
        runConstant(1, x);
        if (s % 3 == 0)
            held = quantiser.process(x);
        EXPECT_EQ(bits(source(0, srcCrusher1)), bits(denormalGuard(held))) << "sample " << s;
    }
}

TEST(LfoSync, NoteLengthsAt120Bpm)
{
    const float expected[18] = {0.0625f, 0.125f, 0.25f, 0.5f,  0.75f, 1.0f,  1.5f,  2.0f,  3.0f,
                                4.0f,    6.0f,   8.0f,  12.0f, 16.0f, 24.0f, 32.0f, 48.0f, 64.0f};
    torvaLib::Lfo lfo;
    for (int index = 0; index < 18; ++index)
    {
        lfoSyncConvert(&lfo, 120.0f, index);
        EXPECT_EQ(lfo.frequency, expected[index]) << index;
    }

    // Out-of-range lengths leave the frequency; no tempo or a negative one stops the LFO.
    lfoSyncConvert(&lfo, 120.0f, 18);
    lfoSyncConvert(&lfo, 120.0f, -1);
    EXPECT_EQ(lfo.frequency, 64.0f);
    lfoSyncConvert(&lfo, 0.0f, 3);
    EXPECT_EQ(lfo.frequency, 0.0f);
    lfoSyncConvert(&lfo, -90.0f, 3);
    EXPECT_EQ(lfo.frequency, 0.0f);
}

TEST_F(EngineModules, BlockSetUpFollowsSyncAndMultiplier)
{
    processor->setParameter(lfoSyncParam(0), 1.0f); // "1/16" by default: 8 Hz at 120 bpm
    processor->setParameter(lfoRateParam(1), 0.5f); // 10 Hz
    processor->setParameter(lfoRateMultiplyParam(1), 1.0f);
    setWhole(lfoWaveParam(2), 3);
    runConstant(1, 0.0f);

    EXPECT_EQ(processor->lfo1.frequency, 8.0f);
    EXPECT_EQ(processor->lfo1.increment, (1024.0f / 44100.0f) * 8.0f);
    EXPECT_EQ(processor->lfo2.frequency, 1000.0f);
    EXPECT_EQ(processor->lfo3.wave, 3);
}

// LFO 2 modulated by LFO 1 follows LFO 1's value of the same sample; LFO 1 modulated by LFO 2 follows
// LFO 2's value of the sample before.
TEST_F(EngineModules, LowerLfosAreSeenThisSampleHigherOnesLastSample)
{
    for (int n = 0; n < 2; ++n)
    {
        setWhole(lfoWaveParam(n), 2 + n); // saws, moving every sample at these rates
        processor->setParameter(lfoRateParam(n), 0.5f);
        processor->setParameter(lfoRateMultiplyParam(n), 1.0f);
    }
    setSource(modSourceIndex(lfoRateSlot(1)), srcLfo1);
    setPlain(modDepthIndex(lfoRateSlot(1)), 100.0f);
    setSource(modSourceIndex(lfoRateSlot(0)), srcLfo2);
    setPlain(modDepthIndex(lfoRateSlot(0)), 100.0f);

    float previousLfo2 = 0.0f;
    for (int s = 0; s < 20; ++s)
    {
        runConstant(1, 0.0f);
        const float lfo1 = source(0, srcLfo1);
        const float lfo2 = source(0, srcLfo2);
        EXPECT_EQ(processor->lfo2.frequency, applyModulation(param(lfoRateParam(1)), 1.0f, lfo1) * 100.0f);
        EXPECT_EQ(processor->lfo1.frequency,
                  applyModulation(param(lfoRateParam(0)), 1.0f, previousLfo2) * 100.0f);
        EXPECT_EQ(source(1, srcLfo1), lfo1); // one value for both channels
        previousLfo2 = lfo2;
    }
}

// MIDI is handled in channel 0's pass before the LFOs step: a note-on at sample 5 makes LFO 1 read entry 0
// of its table at that very sample; events beyond the block are never handled.
TEST_F(EngineModules, NoteOnRestartsItsLfoAtItsSamplePosition)
{
    setWhole(lfoWaveParam(0), 2); // saw up
    processor->setParameter(lfoRateParam(0), 0.5f);
    processor->setParameter(lfoRateMultiplyParam(0), 1.0f); // 1000 Hz: a new entry every sample
    setPlain(dryWetParam, 100.0f);
    setSource(inputSourceIndex(inDryWet), srcLfo1);
    runConstant(50, 0.0f);

    midi.addEvent(juce::MidiMessage::noteOn(1, 60, (juce::uint8)100), 5);
    midi.addEvent(juce::MidiMessage::noteOn(1, 60, (juce::uint8)100), 10);
    const auto out = runConstant(10, 0.0f);
    midi.clear();

    const auto& lfo = processor->lfo1;
    EXPECT_EQ(bits(out.getSample(0, 5)), bits(denormalGuard(lfo.sawUpTable[0])));
    EXPECT_EQ(bits(out.getSample(0, 6)), bits(denormalGuard(lfo.sawUpTable[(int)lfo.increment])));
    EXPECT_NE(bits(out.getSample(0, 4)), bits(denormalGuard(lfo.sawUpTable[0])));
    float phase = 0.0f; // five steps since the restart: the event at sample 10 lay beyond the block
    for (int s = 5; s < 10; ++s)
        phase = phase + lfo.increment;
    EXPECT_EQ(lfo.phase, phase);
}

namespace
{

// Noise of the given peak, the same on every run.
std::vector<float> noise(int samples, float peak, uint32_t seed)
{
    std::vector<float> out((size_t)samples);
    for (auto& v : out)
    {
        seed = seed * 1664525u + 1013904223u;
        v = peak * ((float)(seed >> 8) / 8388608.0f - 1.0f);
    }
    return out;
}

// The largest magnitude of both channels, or infinity where any sample is no finite number.
float peakOf(const juce::AudioBuffer<float>& block)
{
    float peak = 0.0f;
    for (int c = 0; c < block.getNumChannels(); ++c)
        for (int s = 0; s < block.getNumSamples(); ++s)
        {
            const float v = block.getSample(c, s);
            peak = std::isfinite(v) ? std::max(peak, std::abs(v)) : HUGE_VALF;
        }
    return peak;
}

} // namespace

// Whatever finite input a filter took, at any rate and setting, it falls silent once its input does: its
// band can no longer turn its sign in the soft clip, nor its tuning pass the edge of its stable range.
TEST_F(EngineModules, FilterFallsSilentAfterAnyInputAtEveryRate)
{
    const std::vector<float> once = []
    {
        std::vector<float> v(512, 0.0f);
        v[100] = 3.4e38f;
        return v;
    }();
    const std::vector<float> inputs[] = {noise(512, 1.0f, 1), noise(512, 4.0f, 2), once};
    for (double rate : {8000.0, 11025.0, 16000.0, 22050.0, 44100.0, 48000.0, 96000.0, 192000.0})
        for (float cutoff : {0.0f, 0.5f, 1.0f})
            for (float resonance : {0.0f, 0.5f, 1.0f})
                for (size_t i = 0; i < std::size(inputs); ++i)
                {
                    processor = makeProcessor();
                    processor->prepareToPlay(rate, 512);
                    setSource(inputSourceIndex(inFilter1), srcInput);
                    setSource(inputSourceIndex(inDryWet), srcFilter1);
                    setPlain(dryWetParam, 100.0f);
                    processor->setParameter(filterCutoffParam(0), cutoff);
                    processor->setParameter(filterResonanceParam(0), resonance);
                    const auto where = testing::Message() << rate << " Hz, cutoff " << cutoff
                                                          << ", resonance " << resonance << ", input " << i;

                    EXPECT_LT(peakOf(run(inputs[i])), HUGE_VALF) << where;
                    const int second = (int)rate;
                    float peak = 0.0f;
                    for (int done = 0; done < second; done += 512)
                        peak = std::max(peak, peakOf(runConstant(512, 0.0f)));
                    EXPECT_LT(peak, HUGE_VALF) << where;
                    EXPECT_LT(peakOf(runConstant(512, 0.0f)), 1.0e-5f) << where; // -100 dBFS
                }
}

// No inf or NaN leaves the engine, and none stays in it: a module whose value overflowed starts afresh.
TEST_F(EngineModules, NoNonFiniteSampleLeavesTheEngineOrLatches)
{
    const std::vector<float> spike = []
    {
        std::vector<float> v(512, 0.0f);
        v[10] = 2.0e19f;
        return v;
    }();

    // A product that overflows and a mixer that feeds it back to itself.
    setSource(multiplierSourceAParam(0), srcInput);
    setSource(multiplierSourceBParam(0), srcInput);
    setSource(mixerSourceAParam(1), srcMultiplier1);
    setSource(mixerSourceBParam(1), srcMixer2);
    setPlain(mixerMixParam(1), 50.0f);
    setSource(inputSourceIndex(inDryWet), srcMixer2);
    setPlain(dryWetParam, 100.0f);
    processor->prepareToPlay(44100.0, 512);
    EXPECT_LT(peakOf(run(spike)), HUGE_VALF);
    EXPECT_EQ(peakOf(runConstant(512, 0.0f)), 0.0f);
    processor->prepareToPlay(44100.0, 512);
    EXPECT_EQ(peakOf(runConstant(512, 0.0f)), 0.0f);
    for (int k = 0; k < numSources; ++k)
        EXPECT_TRUE(std::isfinite(source(0, k))) << k;

    // A loop of legal values that grows without bound: its output never leaves the float range.
    processor = makeProcessor();
    processor->prepareToPlay(22050.0, 512);
    setSource(mixerSourceAParam(1), srcFilter1);
    setSource(mixerSourceBParam(1), srcMultiplier1);
    setPlain(mixerMixParam(1), 50.0f);
    setSource(multiplierSourceAParam(0), srcMixer2);
    setSource(multiplierSourceBParam(0), srcMixer2);
    setSource(inputSourceIndex(inDryWet), srcMixer2);
    setPlain(dryWetParam, 100.0f);
    for (int b = 0; b < 8; ++b)
        EXPECT_LT(peakOf(run(noise(512, 1.0f, 3 + (uint32_t)b))), HUGE_VALF) << b;

    // The top gain on the dry signal, and a filter whose state passes the float range at a low rate.
    processor = makeProcessor();
    processor->prepareToPlay(16000.0, 512);
    setPlain(dryWetParam, 0.0f);
    processor->setParameter(globalGainParam, 1.0f);
    auto huge = spike;
    huge[10] = 3.0e38f;
    EXPECT_LT(peakOf(run(huge)), HUGE_VALF);
    setPlain(dryWetParam, 50.0f);
    processor->setParameter(globalGainParam, param(globalGainParam).defaultNormalised);
    huge[10] = 3.4e38f;
    EXPECT_LT(peakOf(run(huge)), HUGE_VALF);
    EXPECT_LT(peakOf(runConstant(512, 0.0f)), HUGE_VALF);

    // A buffer never records an inf or a NaN from the module it reads.
    processor = makeProcessor();
    processor->prepareToPlay(44100.0, 512);
    setSource(multiplierSourceAParam(0), srcInput);
    setSource(multiplierSourceBParam(0), srcInput);
    setSource(inputSourceIndex(inBuffer1), srcMultiplier1);
    run(spike);
    for (int s = 0; s < processor->buffer1Stutter[0]->bufferLength; ++s)
        ASSERT_TRUE(std::isfinite(processor->buffer1Stutter[0]->buffer[s])) << s;
}
