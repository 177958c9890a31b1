#pragma once

// The engine's view of one block: the parameters' live reads, the modulation slots and the modules' objects,
// gathered once per block for the sample loop. Included only by AudioEngine.cpp, with the loop's other parts.

#include "plugin/EngineTypes.h"
#include "plugin/Modulation.h"
#include "plugin/PluginProcessor.h"

#include "torva/torva_juce_numeric.h"

#include <cstdint>
#include <cstring>
#include <type_traits>

using namespace engine;

namespace
{

using Selector = const std::atomic<float>*;

// The sources by the stage of a sample that writes them: the head (input, LFOs and buffers) first, then the
// filters, then the post stage (crushers, mixers and multipliers; the output stage writes no source).
constexpr int headSources[] = {srcInput, srcBuffer1, srcBuffer2, srcLfo1, srcLfo2, srcLfo3, srcLfo4};
constexpr int filterSources[] = {srcFilter1, srcFilter2};
constexpr int postSources[] = {srcCrusher1, srcCrusher2, srcMixer1,      srcMixer2,
                               srcMixer3,   srcMixer4,   srcMultiplier1, srcMultiplier2};

// Sources read in a sample as a set of bits: bit source + 1, so that -1, an inactive slot's, is bit 0.
constexpr uint32_t sourceBit(int source)
{
    return 1u << (source + 1);
}
template <size_t count> constexpr uint32_t sourceBits(const int (&sources)[count])
{
    uint32_t bits = 0;
    for (int source : sources)
        bits |= sourceBit(source);
    return bits;
}

// Everything the sample loop touches, gathered once per block into plain pointers and fields, so the hot
// loop does no lookups through the owning containers or the parameter table.
class BlockRunner
{
public:
    explicit BlockRunner(QuorvelAudioProcessor& processor)
        : snap(processor.paramSnapshot), parameterWrites(processor.parameterWrites),
          blockValues(processor.sourceValue.value), bpm(processor.hostBpm.load()),
          outputGain(processor.outputGain), lfo{&processor.lfo1, &processor.lfo2, &processor.lfo3,
                                                &processor.lfo4}
    {
        std::memcpy(valueSets[0], blockValues, sizeof(Values));
        auto* const* param = processor.params.begin();
        auto selector = [param](int index) -> Selector { return &param[index]->plainValue; };

        for (int t = 0; t < numModSlots; ++t)
        {
            // While Sync is on, an LFO's Rate slot moves its synced rate instead.
            int target = modTargets[(size_t)t];
            for (int n = 0; n < numLfos; ++n)
                if (t == lfoRateSlot(n) && snap.lfoSync[n])
                    target = lfoSyncedRateParam(n);

            if (snap.modActive[t])
                activeSlots |= 1u << t;
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
        readLive(parameterWrites.load(std::memory_order_acquire));
    }

    // The filters' lanes take the filters' state for the block, and hand it back at its end. The two
    // channels of a buffer module step as one while their loops are alike.
    void beginBlock(int channels)
    {
        for (int n = 0; n < 2; ++n)
            stutterLockstep[n] = channels == 2 && stutter[n][0]->sameLoop(*stutter[n][1]);

        for (int n = 0; n < 2; ++n)
            crusherPasses[n] = crusherPassesOn(n, channels);

        const int oversampling = svf[0][0]->oversampling;
        pairedFilters = channels == 2 && oversampling > 0;
        for (int n = 0; n < 2; ++n)
            for (int c = 0; c < numChannels; ++c)
                pairedFilters = pairedFilters && svf[n][c]->oversampling == oversampling;
        if (pairedFilters)
            filterLanes.begin(svf[0][0], svf[0][1], svf[1][0], svf[1][1]);
    }
    void endBlock()
    {
        if (pairedFilters)
            filterLanes.end();
        restartNonFiniteModules();
    }

    // A module whose value is no finite number any more (a huge value overflowed on its way through it, or
    // a feedback loop through the mixers and multipliers grew past the float range) starts afresh with a
    // value of 0, so that no feedback loop keeps an inf or a NaN beyond the block in which it arose. In
    // normal use no value ever gets there; the output stage keeps such a value from the host meanwhile.
    void restartNonFiniteModules()
    {
        for (int k = srcNone + 1; k < numSources; ++k)
            for (int c = 0; c < numChannels; ++c)
                if (!std::isfinite(blockValues[k][c]))
                {
                    blockValues[k][c] = 0.0f;
                    restartModule(k, c);
                }
    }
    void restartModule(int source, int c)
    {
        if (source == srcBuffer1 || source == srcBuffer2)
            stutter[source - srcBuffer1][c]->clear();
        else if (source == srcFilter1 || source == srcFilter2)
            svf[source - srcFilter1][c]->clear();
        else if (source == srcCrusher1 || source == srcCrusher2)
            reducer[source - srcCrusher1][c]->restartHold();
    }

    // One sample of every channel the block runs: both lanes of a FloatPair for two, a float for one.
    template <int channels> using Frame = std::conditional_t<channels == 2, torvaLib::FloatPair, float>;

    // Samples 0 .. numSamples - 1 for channels 0 .. channels - 1. The host gives a sample's input frame
    // (input), handles the MIDI events of a sample (handleEvents) and tells where the next one is
    // (nextEvent), and takes a sample's output (output).
    //
    // A sample's modules run in the design's order: the LFOs and the buffers (the head), the filters, the
    // crushers, mixers, multipliers and output stage (the post stage). Each module writes its source value
    // at once, so later modules read this sample's value and earlier ones, the module itself included, read
    // it at the next sample: every feedback loop carries exactly one sample of delay. Nothing in one
    // channel's pass reads the other channel's values, so the passes run side by side as the two lanes of
    // a Frame: the results are those of running them one after the other.
    //
    // The filters' chain from one sample to the next is long, and the processor overlaps it only with work
    // placed between its iterations, not with work that comes after the whole chain. So while the filters
    // of sample s step, the post stage of sample s - 1 and the head of sample s + 1 run between their
    // iterations: the post stage when the filters read nothing of it, the head when it reads nothing of
    // the filters or the post stage and no MIDI event comes at s + 1 (whose parameter changes the earlier
    // samples must not see). Each sample works in a set of values of its own, so no read moves past a
    // write it depends on, and the values are those of one sample after the other.
    //
    // wide: whether this is the build of the loop for processors with AVX.
    template <int channels, bool wide, typename Host> void run(int numSamples, Host& host);

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

    // A selector's plain value is always finite and within 0..17 (a parameter's plain value never leaves
    // its range), so a plain truncation is a listed source, and NONE reads the 0 that entry 0 always
    // holds. A selector or a knob is read once for all channel passes of a sample: nothing in the engine
    // writes a parameter between them (MIDI comes before them), so this reads what separate reads would.
    static int sourceOf(Selector selector)
    {
        const int source = (int)selector->load(std::memory_order_relaxed);
        jassert((unsigned)source < (unsigned)numSources);
        return source;
    }

    // A slot's value for an LFO, from its source's value for channel 0 (the LFOs' view).
    float modulatedForLfo(int t, int source) const { return modulated<1>(t, source); }

    template <int channels> forcedinline Frame<channels> read(int source) const
    {
        if constexpr (channels == 2)
            return torvaLib::FloatPair::load(values[source]);
        else
            return values[source][0];
    }
    template <int channels> forcedinline void write(int source, Frame<channels> value)
    {
        if constexpr (channels == 2)
            value.store(values[source]);
        else
            values[source][0] = value;
    }
    template <int channels> static float lane(Frame<channels> frame, int c)
    {
        if constexpr (channels == 2)
            return frame[c];
        else
            return frame;
    }
    // A sample's input frame from the host.
    template <int channels, typename Host> static forcedinline Frame<channels> inputFrame(Host& host, int s)
    {
        float in[numChannels] = {};
        host.input(s, in, channels);
        return frameOf<channels>(in);
    }
    // A frame from one value per channel.
    template <int channels> static Frame<channels> frameOf(const float* perChannel)
    {
        if constexpr (channels == 2)
            return {perChannel[0], perChannel[1]};
        else
            return perChannel[0];
    }

    template <int channels> forcedinline Frame<channels> modulated(int t, int source) const
    {
        // One channel is lane 0 of the pair, worked out with the lanes the slot keeps.
        const LiveSlot& plan = live.slot[t];
        const torvaLib::FloatPair out =
            modulateBy(plan.value, plan.swing, plan.lo, plan.hi, torvaLib::FloatPair(read<channels>(source)));
        if constexpr (channels == 2)
            return out;
        else
            return out.first();
    }
    template <int channels> forcedinline Frame<channels> routedInput(int m, int source) const
    {
        return read<channels>(source) * Frame<channels>(snap.inputLevel[m]);
    }
    template <int channels> forcedinline Frame<channels> routedInput(int m) const
    {
        return routedInput<channels>(m, live.input[m]);
    }

    // Tests of the mask against a constant, one instruction each once inlined.
    bool active(int t) const { return (activeSlots & (1u << t)) != 0; }
    // Whether any of the slots first .. first + count - 1 is active: a module whose slots are all off
    // skips them with one test.
    bool anyActive(int first, int count) const
    {
        return (activeSlots & (((1u << count) - 1u) << first)) != 0;
    }
    // The source of slot t if it is active; an inactive slot reads nothing.
    int activeSource(int t) const { return live.slot[t].source; }

    // A modulated amount in percent replaces the snapshot's amount, channel by channel, so the last
    // channel's is the one kept; each channel's pass uses the value it wrote. The source is that of
    // slot t, read once by the caller.
    template <int channels> forcedinline Frame<channels> amount(int t, int source, float& snapshotAmount)
    {
        if (!active(t))
            return Frame<channels>(snapshotAmount);
        const Frame<channels> fraction = modulated<channels>(t, source) * Frame<channels>(0.01f);
        snapshotAmount = lane<channels>(fraction, channels - 1);
        return fraction;
    }
    template <int channels> forcedinline Frame<channels> amount(int t, float& snapshotAmount)
    {
        return amount<channels>(t, activeSource(t), snapshotAmount);
    }
    // An active slot's result for every channel, handed to that channel's consumer.
    template <int channels, typename Consumer>
    forcedinline void applySlot(int t, int source, Consumer&& consume) const
    {
        if (!active(t))
            return;
        const Frame<channels> out = modulated<channels>(t, source);
        for (int c = 0; c < channels; ++c)
            consume(c, lane<channels>(out, c));
    }
    template <int channels, typename Consumer> forcedinline void applySlot(int t, Consumer&& consume) const
    {
        applySlot<channels>(t, activeSource(t), consume);
    }

    // The sources the head reads, those of the LFOs' and the buffers' slots and of the buffers' inputs.
    struct HeadReads
    {
        int lfoWave[numLfos], lfoRate[numLfos];
        int bufferSlot[2][3];
        int bufferInput[2];
        // Whether any of them is written by the filters or the post stage.
        bool readsLaterStage;
    };

    // The sources a filter reads, those of its control slots and of its input.
    struct FilterReads
    {
        int morph, cutoff, resonance, input;
    };

    // What a sample's live reads give: the sources its selectors pick and, for each active slot, its
    // source and what its target's value makes of the rule. Every write of a parameter counts in the
    // processor's parameterWrites, so the loop reads them all again only when the count has moved since
    // the last reading: each sample still sees every write made before it, as reading each parameter for
    // each sample would.
    struct LiveSlot
    {
        // -1 for an inactive slot.
        int source;
        // The target's value and swing and its range, in both lanes.
        torvaLib::FloatPair value, swing, lo, hi;
    };
    struct LiveReads
    {
        uint32_t writes;
        LiveSlot slot[numModSlots];
        int input[numRoutingInputs];
        int mixer[numMixers][2];
        int multiplier[numMultipliers][2];
        HeadReads head;
        FilterReads filter[2];
        // Whether the filters read any source of the post stage, and whether filter 2 reads filter 1.
        bool filtersReadPost, filter2ReadsFilter1;
    };
    // Reads the parameters again after a write.
    forcedinline void keepLive()
    {
        const uint32_t writes = parameterWrites.load(std::memory_order_acquire);
        if (writes != live.writes)
            readLive(writes);
    }
    __attribute__((noinline)) void readLive(uint32_t writes);

    // A sample's source values, [source][channel]. Entry 0 (NONE) stays 0.
    using Values = float[numSources][numChannels];

    // The two schedules of the sample loop, each a whole loop of its own from sample first (whose MIDI
    // events are still to come) on; each returns the sample where it stopped, with every stage of the
    // samples before it done and their values in valueSets[0].
    template <int channels, bool wide, typename Host> int runPipelined(int first, int numSamples, Host& host);
    template <int channels, bool wide, typename Host> int runInOrder(int first, int numSamples, Host& host);
    // Whether the pipelined schedule suits the reads of the moment (EngineSchedules.h).
    template <int channels> bool pipelineSuits() const;

    // The stages of a sample, each in the sample's set of values. In the pipelined schedule each carries
    // its sources' values into the next sample's set when it is done, where the stages before it find them
    // as the previous sample's values.
    template <int channels>
    forcedinline void runHead(Values& set, const HeadReads& reads, Frame<channels> input);
    // between(0) and between(1), the caller's two pieces of work, run once each: after the filters' first
    // and second iterations where they step as one, else after the filters.
    template <int channels, bool wide, typename Between>
    forcedinline void runFilterStage(Values& set, const FilterReads* reads, Between&& between);
    template <int channels> forcedinline void runPostStage(Values& set, float* output);
    template <size_t count> static void carry(const Values& set, Values& next, const int (&sources)[count])
    {
        for (int source : sources)
            std::memcpy(next[source], set[source], sizeof next[source]);
    }

    forcedinline void stepLfos(const HeadReads& reads);
    template <int channels> forcedinline void runBuffer(int n, const HeadReads& reads);
    template <int channels, bool wide, typename Between>
    forcedinline int runFilters(const FilterReads* reads, int first, int end, Between&& between);
    // The steps of both filter modules' lanes through one sample, in AVX registers in the loop built for
    // AVX.
    template <bool wide>
    forcedinline auto startFilterSample(torvaLib::FloatPair module0, torvaLib::FloatPair module1)
    {
#if TORVA_LANES_HAVE_AVX
        if constexpr (wide)
            return filterLanes.startSampleWide(module0, module1);
        else
#endif
            return filterLanes.startSample(module0, module1);
    }
    template <int channels>
    forcedinline bool setUpFilter(int n, const FilterReads& reads, Frame<channels>& morph);
    template <int channels> forcedinline void runCrusher(int n);
    template <int channels> forcedinline void runMixer(int n);
    template <int channels> forcedinline void runMultiplier(int n);
    template <int channels> forcedinline void runOutputStage(float* output);

    ParamSnapshot& snap;
    const std::atomic<uint32_t>& parameterWrites;
    LiveReads live;
    // Bit t is set when slot t is active in this block.
    uint32_t activeSlots = 0;
    // The processor's source values, which the block starts from and leaves as its last sample's.
    Values& blockValues;
    // One set for each of the three samples in flight at most.
    Values valueSets[3] = {};
    // The set of the stage running.
    float (*values)[numChannels] = valueSets[0];
    const float bpm;
    const float outputGain;
    Slot slot[numModSlots];
    Selector inputSelector[numRoutingInputs];
    Selector mixerSelector[numMixers][2];
    Selector multiplierSelector[numMultipliers][2];
    torvaLib::Lfo* lfo[numLfos];
    torvaLib::Stutter* stutter[2][numChannels];
    bool stutterLockstep[2] = {};
    torvaLib::Svf* svf[2][numChannels];
    // With two channels and one oversampling for all four filters, the filters' state lives in their
    // lanes for the block.
    bool pairedFilters = false;
    torvaLib::SvfLanes filterLanes;
    torvaLib::Bitcrusher* crusher[2][numChannels];
    torvaLib::Reducer* reducer[2][numChannels];
    // Whether a crusher's quantiser and hold are off on every channel: for the block, while no slot moves
    // them.
    bool crusherPasses[2] = {};
    bool crusherPassesOn(int n, int channels) const
    {
        bool passes = true;
        for (int c = 0; c < channels; ++c)
            passes = passes && crusher[n][c]->isOff() && reducer[n][c]->isOff();
        return passes;
    }
};

void BlockRunner::readLive(uint32_t writes)
{
    live.writes = writes;
    for (int t = 0; t < numModSlots; ++t)
    {
        const Slot& plan = slot[t];
        const ModulationSwing control =
            modulationSwing(plan.target->load(std::memory_order_relaxed), plan.hi, plan.mid, plan.depth);
        live.slot[t] = {active(t) ? sourceOf(plan.source) : -1, torvaLib::FloatPair(control.value),
                        torvaLib::FloatPair(control.swing), torvaLib::FloatPair(plan.lo),
                        torvaLib::FloatPair(plan.hi)};
    }
    for (int m = 0; m < numRoutingInputs; ++m)
        live.input[m] = sourceOf(inputSelector[m]);
    for (int n = 0; n < numMixers; ++n)
        for (int k = 0; k < 2; ++k)
            live.mixer[n][k] = sourceOf(mixerSelector[n][k]);
    for (int n = 0; n < numMultipliers; ++n)
        for (int k = 0; k < 2; ++k)
            live.multiplier[n][k] = sourceOf(multiplierSelector[n][k]);

    uint32_t headBits = 0;
    auto take = [&headBits](int source)
    {
        headBits |= sourceBit(source);
        return source;
    };
    HeadReads& head = live.head;
    for (int n = 0; n < numLfos; ++n)
    {
        head.lfoWave[n] = take(activeSource(lfoWaveSlot(n)));
        head.lfoRate[n] = take(activeSource(lfoRateSlot(n)));
    }
    for (int n = 0; n < 2; ++n)
    {
        head.bufferSlot[n][0] = take(activeSource(bufferSizeSlot(n)));
        head.bufferSlot[n][1] = take(activeSource(bufferRepeatsSlot(n)));
        head.bufferSlot[n][2] = take(activeSource(bufferRatioSlot(n)));
        head.bufferInput[n] = take(live.input[inBuffer1 + n]);
    }
    head.readsLaterStage = (headBits & (sourceBits(filterSources) | sourceBits(postSources))) != 0;

    uint32_t filterBits[2];
    for (int n = 0; n < 2; ++n)
    {
        FilterReads& reads = live.filter[n];
        reads = {activeSource(filterMorphSlot(n)), activeSource(filterCutoffSlot(n)),
                 activeSource(filterResonanceSlot(n)), live.input[inFilter1 + n]};
        filterBits[n] = sourceBit(reads.morph) | sourceBit(reads.cutoff) | sourceBit(reads.resonance) |
                        sourceBit(reads.input);
    }
    live.filtersReadPost = ((filterBits[0] | filterBits[1]) & sourceBits(postSources)) != 0;
    live.filter2ReadsFilter1 = (filterBits[1] & sourceBit(srcFilter1)) != 0;
}

} // namespace
