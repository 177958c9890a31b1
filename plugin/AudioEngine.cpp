// The processor's side of the audio engine: prepare, the block start with its snapshot and set-up, and the
// block function, which runs the sample loop of the headers below, compiled here as one unit with it.

#include "plugin/PluginProcessor.h"

#include "plugin/EngineTypes.h"
#include "plugin/Modulation.h"

#include "plugin/BlockRunner.h"
#include "plugin/EngineSchedules.h"
#include "plugin/ModuleSteps.h"

#include "torva/torva_juce_numeric.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <type_traits>

#if defined(__SSE__) || defined(_M_X64) || defined(_M_IX86)
#include <xmmintrin.h>
#define QUORVEL_HAS_MXCSR 1
#else
#define QUORVEL_HAS_MXCSR 0
#endif

using namespace engine;

namespace
{

// Flush-to-zero and denormals-are-zero for the duration of a block; the caller's register value comes
// back on return. Other architectures rely on the denormal guards alone.
class ScopedFlushDenormals
{
public:
    ScopedFlushDenormals()
    {
#if QUORVEL_HAS_MXCSR
        saved = _mm_getcsr();
        _mm_setcsr(saved | 0x8040u);
#endif
    }
    ~ScopedFlushDenormals()
    {
#if QUORVEL_HAS_MXCSR
        _mm_setcsr(saved);
#endif
    }
    ScopedFlushDenormals(const ScopedFlushDenormals&) = delete;
    ScopedFlushDenormals& operator=(const ScopedFlushDenormals&) = delete;

private:
    unsigned int saved = 0;
};

// Note lengths of the tempo sync in bars, and whether the row is dotted.
constexpr float syncBars[18] = {8.0f,     4.0f,     2.0f,      1.0f,      0.5f,       0.5f,
                                0.25f,    0.25f,    0.125f,    0.125f,    0.0625f,    0.0625f,
                                0.03125f, 0.03125f, 0.015625f, 0.015625f, 0.0078125f, 0.0078125f};

constexpr bool isDottedSyncRow(int index)
{
    return index >= 4 && index % 2 == 0;
}

} // namespace

void lfoSyncConvert(torvaLib::Lfo* lfo, float bpm, int index)
{
    if (index < 0 || index > 17)
        return;

    const float q = 60000.0f / bpm;
    const float length = (q * 4.0f) * syncBars[index];
    float f = 1000.0f / length;
    if (isDottedSyncRow(index))
        f = f * 0.75f;
    lfo->setFrequency(f);
}

// One object per channel in every module array, created in this order for channel 0 and then channel 1.
void QuorvelAudioProcessor::createEngineObjects()
{
    for (int c = 0; c < engine::numChannels; ++c)
    {
        buffer1Stutter.add(new torvaLib::Stutter())->setBufferLength(88200);
        buffer2Stutter.add(new torvaLib::Stutter())->setBufferLength(88200);
        filter1Svf.add(new torvaLib::Svf())->setOversampling(3);
        filter2Svf.add(new torvaLib::Svf())->setOversampling(3);
        crusher1Bitcrusher.add(new torvaLib::Bitcrusher());
        crusher2Bitcrusher.add(new torvaLib::Bitcrusher());
        crusher1Reducer.add(new torvaLib::Reducer());
        crusher2Reducer.add(new torvaLib::Reducer());
    }
}

float QuorvelAudioProcessor::readSource(int k, int c) const
{
    if ((unsigned)k >= (unsigned)numSources || (unsigned)c >= (unsigned)engine::numChannels)
        return 0.0f;
    return sourceValue.value[k][c];
}

void QuorvelAudioProcessor::prepareToPlay(double sampleRate, int)
{
    // A rate the modules cannot work with changes nothing at all.
    if (!(sampleRate > 0.0) || !std::isfinite(sampleRate))
        return;

    if (sampleRate != lastSampleRate)
    {
        lastSampleRate = sampleRate;
        for (int c = 0; c < engine::numChannels; ++c)
        {
            buffer1Stutter[c]->setSampleRate(sampleRate);
            buffer2Stutter[c]->setSampleRate(sampleRate);
            filter1Svf[c]->setSampleRate(sampleRate);
            filter2Svf[c]->setSampleRate(sampleRate);
        }
        for (torvaLib::Lfo* lfo : {&lfo1, &lfo2, &lfo3, &lfo4})
            lfo->setSampleRate(sampleRate);
    }

    // Every host reset starts the buffers, filters and holds afresh; LFO phases and source values carry on.
    for (int c = 0; c < engine::numChannels; ++c)
    {
        buffer1Stutter[c]->clear();
        buffer2Stutter[c]->clear();
        filter1Svf[c]->clear();
        filter2Svf[c]->clear();
        crusher1Reducer[c]->restartHold();
        crusher2Reducer[c]->restartHold();
    }
}

void QuorvelAudioProcessor::takeParamSnapshot()
{
    auto plain = [this](int i) { return params.getUnchecked(i)->plainValue.load(std::memory_order_relaxed); };
    auto normalised = [this](int i)
    { return params.getUnchecked(i)->hostValue.load(std::memory_order_relaxed); };
    auto whole = [&plain](int i) { return torvaLib::truncateToInt(plain(i)); };

    ParamSnapshot& s = paramSnapshot;
    for (int n = 0; n < 2; ++n)
    {
        s.bufferSize[n] = whole(bufferSizeParam(n));
        s.bufferRepeats[n] = whole(bufferRepeatsParam(n));
        s.bufferRatio[n] = plain(bufferRatioParam(n));
        s.filterMorph[n] = normalised(filterMorphParam(n));
        s.filterCutoff[n] = plain(filterCutoffParam(n));
        s.filterResonance[n] = normalised(filterResonanceParam(n));
        s.crusherBits[n] = whole(crusherBitsParam(n));
        s.crusherRate[n] = whole(crusherRateParam(n));
        s.crusherMix[n] = normalised(crusherMixParam(n));
        s.filterInputSource[n] = whole(inputSourceIndex(inFilter1 + n));
        s.crusherInputSource[n] = whole(inputSourceIndex(inCrusher1 + n));
    }
    s.dryWet = normalised(dryWetParam);
    s.globalGain = plain(globalGainParam);
    for (int n = 0; n < numLfos; ++n)
    {
        s.lfoWave[n] = whole(lfoWaveParam(n));
        s.lfoRate[n] = plain(lfoRateParam(n));
        s.lfoRateMultiply[n] = whole(lfoRateMultiplyParam(n)) != 0;
        s.lfoSync[n] = whole(lfoSyncParam(n)) != 0;
        s.lfoSyncedRate[n] = whole(lfoSyncedRateParam(n));
    }
    for (int n = 0; n < numMixers; ++n)
        s.mixerMix[n] = normalised(mixerMixParam(n));
    for (int t = 0; t < numModSlots; ++t)
    {
        s.modSource[t] = whole(modSourceIndex(t));
        s.modDepth[t] = normalised(modDepthIndex(t));
        s.modActive[t] = s.modDepth[t] != 0.0f && s.modSource[t] != srcNone;
    }
    for (int m = 0; m < numRoutingInputs; ++m)
        s.inputLevel[m] = normalised(inputLevelIndex(m));
}

// Module set-up, LFO set-up and output gain from the snapshot. Overwrites whatever modulation changed in
// the previous block.
void QuorvelAudioProcessor::setUpBlock()
{
    const ParamSnapshot& s = paramSnapshot;
    for (int c = 0; c < engine::numChannels; ++c)
    {
        torvaLib::Stutter* stutters[2] = {buffer1Stutter[c], buffer2Stutter[c]};
        for (int n = 0; n < 2; ++n)
        {
            stutters[n]->setSize((float)s.bufferSize[n]);
            stutters[n]->setRepeats(s.bufferRepeats[n]);
            stutters[n]->setRatio(s.bufferRatio[n]);
        }
        torvaLib::Svf* filters[2] = {filter1Svf[c], filter2Svf[c]};
        for (int n = 0; n < 2; ++n)
        {
            filters[n]->setCutoff(s.filterCutoff[n]);
            filters[n]->setResonance(s.filterResonance[n] * 1.4f);
            filters[n]->updateCoefficients();
        }
        crusher1Bitcrusher[c]->setBits(s.crusherBits[0]);
        crusher2Bitcrusher[c]->setBits(s.crusherBits[1]);
        crusher1Reducer[c]->setRate(s.crusherRate[0]);
        crusher2Reducer[c]->setRate(s.crusherRate[1]);
    }

    torvaLib::Lfo* lfos[numLfos] = {&lfo1, &lfo2, &lfo3, &lfo4};
    const float bpm = hostBpm.load();
    for (int n = 0; n < numLfos; ++n)
    {
        lfos[n]->setWave(s.lfoWave[n]);
        if (s.lfoSync[n])
            lfoSyncConvert(lfos[n], bpm, s.lfoSyncedRate[n]);
        else
            lfos[n]->setFrequency(s.lfoRateMultiply[n] ? s.lfoRate[n] * 100.0f : s.lfoRate[n]);
        lfos[n]->updateIncrement();
    }

    outputGain = s.globalGain > -100.0f ? exp10f(s.globalGain * 0.05f) : 0.0f;
}

void QuorvelAudioProcessor::processBlock(juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midi)
{
    ScopedFlushDenormals flushDenormals;

    blocksStarted.fetch_add(1, std::memory_order_relaxed);
    serveBlockStartRequests();

    double bpm = 120.0;
    if (auto* head = getPlayHead())
        if (const auto position = head->getPosition())
            if (const auto hostTempo = position->getBpm())
                bpm = *hostTempo;
    hostBpm = (float)bpm;

    takeParamSnapshot();
    setUpBlock();

    const int numSamples = buffer.getNumSamples();
    // The engine has values and module objects for two channels; it never runs more.
    const int channels =
        numSamples > 0 ? std::min({getTotalNumInputChannels(), buffer.getNumChannels(), engine::numChannels})
                       : 0;
    if (channels > 0)
    {
        BlockRunner runner(*this);
        float* data[engine::numChannels] = {};
        for (int c = 0; c < channels; ++c)
            data[c] = buffer.getWritePointer(c);
        // What the block's sample loop asks of the host: the inputs, the MIDI events and the outputs.
        struct Host
        {
            QuorvelAudioProcessor& processor;
            float* const* data;
            juce::MidiBufferIterator event, lastEvent;

            void input(int s, float* in, int count) const
            {
                for (int c = 0; c < count; ++c)
                    in[c] = torvaLib::finiteOrSilence(data[c][s]);
            }
            void handleEvents(int s)
            {
                while (event != lastEvent && (*event).samplePosition < s)
                    ++event;
                while (event != lastEvent && (*event).samplePosition == s)
                {
                    processor.handleMidiEvent(*event);
                    ++event;
                }
            }
            int nextEvent() const { return event != lastEvent ? (*event).samplePosition : -1; }
            void output(int s, const float* out, int count)
            {
                for (int c = 0; c < count; ++c)
                    data[c][s] = out[c];
                processor.captureScope(out[0]);
            }
        };
        Host host{*this, data, midi.cbegin(), midi.cend()};

        auto run = [&](auto channelCount, auto wide)
        { runner.run<decltype(channelCount)::value, decltype(wide)::value>(numSamples, host); };
        runner.beginBlock(channels);
        if (channels == 2)
            runSampleLoop(run, std::integral_constant<int, 2>{});
        else
            runSampleLoop(run, std::integral_constant<int, 1>{});
        runner.endBlock();
    }

    for (int i = getTotalNumInputChannels();
         i < std::min(getTotalNumOutputChannels(), buffer.getNumChannels()); ++i)
        buffer.clear(i, 0, numSamples);
}

// One value in every 32 samples of channel 0, newest first.
void QuorvelAudioProcessor::captureScope(float y)
{
    if (scopeDecimation == 0)
    {
        for (size_t i = scopeHistory.size() - 1; i > 0; --i)
        {
            const float older = scopeHistory[i - 1].load(std::memory_order_relaxed);
            scopeHistory[i].store(older, std::memory_order_relaxed);
        }
        scopeHistory[0].store(y, std::memory_order_relaxed);
    }
    scopeDecimation = scopeDecimation > 30 ? 0 : scopeDecimation + 1;
}
