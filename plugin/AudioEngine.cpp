// The audio engine behind prepareToPlay and processBlock: the block start, the sample-major loop over the
// modules in their fixed order, the routing and the modulation slots.

#include "plugin/PluginProcessor.h"

#include "plugin/EngineTypes.h"
#include "plugin/Modulation.h"

#include "torva/torva_juce_numeric.h"

#include <algorithm>
#include <cmath>
#include <cstring>

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

using Selector = const std::atomic<float>*;

// Everything the sample loop touches, gathered once per block into plain pointers and fields, so the hot
// loop does no lookups through the owning containers or the parameter table.
class BlockRunner
{
public:
    explicit BlockRunner(QuorvelAudioProcessor& processor)
        : snap(processor.paramSnapshot), values(processor.sourceValue.value), bpm(processor.hostBpm.load()),
          outputGain(processor.outputGain), lfo{&processor.lfo1, &processor.lfo2, &processor.lfo3,
                                                &processor.lfo4}
    {
        auto* const* param = processor.params.begin();
        auto selector = [param](int index) -> Selector { return &param[index]->plainValue; };

        for (int t = 0; t < numModSlots; ++t)
        {
            // While Sync is on, an LFO's Rate slot moves its synced rate instead.
            int target = modTargets[(size_t)t];
            for (int n = 0; n < numLfos; ++n)
                if (t == lfoRateSlot(n) && snap.lfoSync[n])
                    target = lfoSyncedRateParam(n);

            const auto& record = *param[target];
            slot[t] = {selector(modSourceIndex(t)),
                       &record.plainValue,
                       record.min,
                       record.max,
                       modulationMidPoint(record.min, record.max),
                       snap.modDepth[t]};
        }

        for (int m = 0; m < numRoutingInputs; ++m)
            inputSelector[m] = selector(inputSourceIndex(m));
        for (int n = 0; n < numMixers; ++n)
        {
            mixerSelector[n][0] = selector(mixerSourceAParam(n));
            mixerSelector[n][1] = selector(mixerSourceBParam(n));
        }
        for (int n = 0; n < numMultipliers; ++n)
        {
            multiplierSelector[n][0] = selector(multiplierSourceAParam(n));
            multiplierSelector[n][1] = selector(multiplierSourceBParam(n));
        }

        for (int c = 0; c < numChannels; ++c)
        {
            stutter[0][c] = processor.buffer1Stutter.getUnchecked(c);
            stutter[1][c] = processor.buffer2Stutter.getUnchecked(c);
            svf[0][c] = processor.filter1Svf.getUnchecked(c);
            svf[1][c] = processor.filter2Svf.getUnchecked(c);
            crusher[0][c] = processor.crusher1Bitcrusher.getUnchecked(c);
            crusher[1][c] = processor.crusher2Bitcrusher.getUnchecked(c);
            reducer[0][c] = processor.crusher1Reducer.getUnchecked(c);
            reducer[1][c] = processor.crusher2Reducer.getUnchecked(c);
        }
    }

    void stepLfos();
    // The audio modules of one sample for channels 0 .. channels - 1.
    template <int channels> void runModules(const float* input, float* output);

private:
    // A modulation slot as this block sees it: its live source selector, its target's live plain value
    // and fixed range, and its depth.
    struct Slot
    {
        Selector source;
        const std::atomic<float>* target;
        float lo, hi, mid;
        float depth;
    };

    // The value of the source a selector names at this moment, for channel 0 (the LFOs' view); a
    // selector's plain value is always finite and within 0..17, so a plain truncation is safe here.
    float readForLfo(Selector selector) const
    {
        const int source = (int)selector->load(std::memory_order_relaxed);
        return (unsigned)source < (unsigned)numSources ? values[0][source] : 0.0f;
    }
    float modulatedForLfo(int t) const
    {
        const Slot& plan = slot[t];
        return modulateValue(plan.target->load(std::memory_order_relaxed), plan.lo, plan.hi, plan.mid,
                             plan.depth, readForLfo(plan.source));
    }

    // The same for every channel pass of this sample. A selector or a knob is read once for all of them:
    // nothing in the engine writes a parameter between the passes of one sample (MIDI comes before them),
    // so this reads what separate reads would.
    template <int channels> forcedinline void readAll(Selector selector, float* out) const
    {
        const int source = (int)selector->load(std::memory_order_relaxed);
        const bool listed = (unsigned)source < (unsigned)numSources;
        for (int c = 0; c < channels; ++c)
            out[c] = listed ? values[c][source] : 0.0f;
    }
    template <int channels> forcedinline void modulatedAll(int t, float* out) const
    {
        const Slot& plan = slot[t];
        float s[numChannels];
        readAll<channels>(plan.source, s);
        const float v = plan.target->load(std::memory_order_relaxed);
        for (int c = 0; c < channels; ++c)
            out[c] = modulateValue(v, plan.lo, plan.hi, plan.mid, plan.depth, s[c]);
    }
    template <int channels> forcedinline void routedInputs(int m, float* out) const
    {
        readAll<channels>(inputSelector[m], out);
        for (int c = 0; c < channels; ++c)
            out[c] = out[c] * snap.inputLevel[m];
    }
    // A modulated amount in percent replaces the snapshot's amount, channel by channel; each channel's
    // pass uses the value it wrote.
    template <int channels> forcedinline void amounts(int t, float& snapshotAmount, float* out)
    {
        if (active(t))
        {
            float percent[numChannels];
            modulatedAll<channels>(t, percent);
            for (int c = 0; c < channels; ++c)
                out[c] = snapshotAmount = percent[c] * 0.01f;
        }
        else
        {
            for (int c = 0; c < channels; ++c)
                out[c] = snapshotAmount;
        }
    }
    bool active(int t) const { return snap.modActive[t]; }
    // An active slot's result for every channel, handed to that channel's consumer.
    template <int channels, typename Consumer> forcedinline void applySlot(int t, Consumer&& consume) const
    {
        if (!active(t))
            return;
        float out[numChannels];
        modulatedAll<channels>(t, out);
        for (int c = 0; c < channels; ++c)
            consume(c, out[c]);
    }

    template <int channels> forcedinline void runBuffer(int n);
    template <int channels> forcedinline void runFilter(int n);
    template <int channels> forcedinline void runCrusher(int n);
    template <int channels> forcedinline void runMixer(int n);
    template <int channels> forcedinline void runMultiplier(int n);
    template <int channels> forcedinline void runOutputStage(const float* dry, float* output);

    ParamSnapshot& snap;
    float (*values)[numSources];
    const float bpm;
    const float outputGain;
    Slot slot[numModSlots];
    Selector inputSelector[numRoutingInputs];
    Selector mixerSelector[numMixers][2];
    Selector multiplierSelector[numMultipliers][2];
    torvaLib::Lfo* lfo[numLfos];
    torvaLib::Stutter* stutter[2][numChannels];
    torvaLib::Svf* svf[2][numChannels];
    torvaLib::Bitcrusher* crusher[2][numChannels];
    torvaLib::Reducer* reducer[2][numChannels];
};

// Channel 0's pass, before any audio module: a lower-numbered LFO is seen with this sample's value, a
// higher-numbered one and every audio module with the previous sample's.
void BlockRunner::stepLfos()
{
    for (int n = 0; n < numLfos; ++n)
    {
        torvaLib::Lfo& osc = *lfo[n];
        if (active(lfoWaveSlot(n)))
            osc.setWave(torvaLib::truncateToInt(modulatedForLfo(lfoWaveSlot(n))));

        const int rateSlot = lfoRateSlot(n);
        if (active(rateSlot))
        {
            const float out = modulatedForLfo(rateSlot);
            if (snap.lfoSync[n])
                lfoSyncConvert(&osc, bpm, torvaLib::truncateToInt(out));
            else
                osc.setFrequency(snap.lfoRateMultiply[n] ? out * 100.0f : out);
            osc.updateIncrement();
        }

        const float value = osc.step();
        values[0][srcLfo1 + n] = value;
        values[1][srcLfo1 + n] = value;
    }
}

template <int channels> forcedinline void BlockRunner::runBuffer(int n)
{
    applySlot<channels>(bufferSizeSlot(n), [&](int c, float v) { stutter[n][c]->setSize(v); });
    applySlot<channels>(bufferRepeatsSlot(n),
                        [&](int c, float v) { stutter[n][c]->setRepeats(torvaLib::truncateToInt(v)); });
    applySlot<channels>(bufferRatioSlot(n), [&](int c, float v) { stutter[n][c]->setRatio(v); });

    // With NONE selected the buffer keeps running and records silence.
    float input[numChannels];
    routedInputs<channels>(inBuffer1 + n, input);
    for (int c = 0; c < channels; ++c)
        values[c][srcBuffer1 + n] = stutter[n][c]->process(&input[c]);
}

// NONE stops the filter where it stands; its state resumes when a source is selected again.
template <int channels> forcedinline void BlockRunner::runFilter(int n)
{
    float morph[numChannels];
    amounts<channels>(filterMorphSlot(n), snap.filterMorph[n], morph);

    applySlot<channels>(filterCutoffSlot(n), [&](int c, float v) { svf[n][c]->setCutoff(v); });
    applySlot<channels>(filterResonanceSlot(n),
                        [&](int c, float v) { svf[n][c]->setResonance((v * 0.01f) * 1.4f); });
    // Recomputed even when a guard rejected the value.
    if (active(filterCutoffSlot(n)) || active(filterResonanceSlot(n)))
        for (int c = 0; c < channels; ++c)
            svf[n][c]->updateCoefficients();

    if (snap.filterInputSource[n] == srcNone)
    {
        for (int c = 0; c < channels; ++c)
            values[c][srcFilter1 + n] = 0.0f;
        return;
    }

    float x[numChannels];
    routedInputs<channels>(inFilter1 + n, x);
    if constexpr (channels == 2)
        torvaLib::Svf::processPair(*svf[n][0], (double)x[0], *svf[n][1], (double)x[1]);
    else
        svf[n][0]->process((double)x[0]);
    for (int c = 0; c < channels; ++c)
        values[c][srcFilter1 + n] = svf[n][c]->morph(morph[c]);
}

template <int channels> forcedinline void BlockRunner::runCrusher(int n)
{
    applySlot<channels>(crusherBitsSlot(n),
                        [&](int c, float v) { crusher[n][c]->setBits(torvaLib::truncateToInt(v)); });
    applySlot<channels>(crusherRateSlot(n),
                        [&](int c, float v) { reducer[n][c]->setRate(torvaLib::truncateToInt(v)); });
    float mix[numChannels];
    amounts<channels>(crusherMixSlot(n), snap.crusherMix[n], mix);

    if (snap.crusherInputSource[n] == srcNone)
    {
        for (int c = 0; c < channels; ++c)
            values[c][srcCrusher1 + n] = 0.0f;
        return;
    }

    float input[numChannels];
    routedInputs<channels>(inCrusher1 + n, input);
    for (int c = 0; c < channels; ++c)
    {
        const float a = input[c];
        const float crushed = reducer[n][c]->process(crusher[n][c]->process(a));
        const float dry = torvaLib::denormalGuard(a);
        float wet = torvaLib::denormalGuard(crushed);
        // Silence stays silent: the quantiser's offset for 0, or a value still being held, never leaks out.
        if (a == 0.0f)
            wet = 0.0f;
        values[c][srcCrusher1 + n] = wet * mix[c] + (1.0f - mix[c]) * dry;
    }
}

template <int channels> forcedinline void BlockRunner::runMixer(int n)
{
    float mix[numChannels], a[numChannels], b[numChannels];
    amounts<channels>(mixerMixSlot(n), snap.mixerMix[n], mix);
    readAll<channels>(mixerSelector[n][0], a);
    readAll<channels>(mixerSelector[n][1], b);
    for (int c = 0; c < channels; ++c)
    {
        const float guardedA = torvaLib::denormalGuard(a[c]);
        const float guardedB = torvaLib::denormalGuard(b[c]);
        values[c][srcMixer1 + n] = (guardedB * mix[c]) + ((1.0f - mix[c]) * guardedA);
    }
}

template <int channels> forcedinline void BlockRunner::runMultiplier(int n)
{
    float a[numChannels], b[numChannels];
    readAll<channels>(multiplierSelector[n][0], a);
    readAll<channels>(multiplierSelector[n][1], b);
    for (int c = 0; c < channels; ++c)
        values[c][srcMultiplier1 + n] = a[c] * b[c];
}

// No NONE test here: NONE simply gives a wet signal of 0.
template <int channels> forcedinline void BlockRunner::runOutputStage(const float* dry, float* output)
{
    float m[numChannels], wet[numChannels];
    amounts<channels>(dryWetSlot, snap.dryWet, m);
    routedInputs<channels>(inDryWet, wet);
    for (int c = 0; c < channels; ++c)
    {
        const float guardedWet = torvaLib::denormalGuard(wet[c]);
        const float guardedDry = torvaLib::denormalGuard(dry[c]);
        output[c] = ((guardedWet * m[c]) + ((1.0f - m[c]) * guardedDry)) * outputGain;
    }
}

// The channel passes of one sample, after the inputs are stored and, in channel 0's pass, MIDI and the LFOs
// have run. Each module writes its source value at once, so later modules read this sample's value and
// earlier ones, the module itself included, read it at the next sample: every feedback loop carries
// exactly one sample of delay. Nothing in one channel's pass reads the other channel's values, so the
// passes are run side by side, module by module: the results are those of running them one after the
// other, and the processor can overlap the channels' long dependency chains.
template <int channels> void BlockRunner::runModules(const float* input, float* output)
{
    runBuffer<channels>(0);
    runBuffer<channels>(1);
    runFilter<channels>(0);
    runFilter<channels>(1);
    runCrusher<channels>(0);
    runCrusher<channels>(1);
    for (int n = 0; n < numMixers; ++n)
        runMixer<channels>(n);
    for (int n = 0; n < numMultipliers; ++n)
        runMultiplier<channels>(n);
    runOutputStage<channels>(input, output);
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
    return sourceValue.value[c][k];
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

    // Requests left in earlier blocks, in this order, each once however often it was raised; each serve
    // tests its own flag and clears it once the request is done.
    serveLoadByIndexRequest();
    serveClearAllRequest();
    serveRandomiseRequest();

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
        auto event = midi.cbegin();
        const auto lastEvent = midi.cend();

        for (int s = 0; s < numSamples; ++s)
        {
            float input[engine::numChannels] = {};
            float output[engine::numChannels] = {};

            // Channel 0's pass begins with its input, this sample's MIDI events and the LFO steps.
            input[0] = torvaLib::finiteOrSilence(data[0][s]);
            sourceValue.value[0][srcInput] = input[0];
            while (event != lastEvent && (*event).samplePosition < s)
                ++event;
            while (event != lastEvent && (*event).samplePosition == s)
            {
                handleMidiEvent(*event);
                ++event;
            }
            runner.stepLfos();

            for (int c = 1; c < channels; ++c)
            {
                input[c] = torvaLib::finiteOrSilence(data[c][s]);
                sourceValue.value[c][srcInput] = input[c];
            }

            if (channels == 2)
                runner.runModules<2>(input, output);
            else
                runner.runModules<1>(input, output);

            for (int c = 0; c < channels; ++c)
                data[c][s] = output[c];
            captureScope(output[0]);
        }
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
