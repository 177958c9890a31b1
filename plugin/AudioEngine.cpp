// The audio engine behind prepareToPlay and processBlock: the block start, the sample-major loop over the
// modules in their fixed order, the routing and the modulation slots.

#include "plugin/PluginProcessor.h"

#include "plugin/EngineTypes.h"
#include "plugin/Modulation.h"

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
    // Whether the pipelined schedule overlaps the filters' chain with both the head of the next sample
    // and the post stage of the previous one: it needs both filter modules stepping as one, a head that
    // reads nothing of the filters or the post stage, and filters that read nothing of the post stage.
    // Otherwise a stage runs apart from the chain, and the in-order schedule does the same work faster.
    template <int channels> bool pipelineSuits() const
    {
        return channels == 2 && pairedFilters && !live.head.readsLaterStage && !live.filtersReadPost;
    }

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

// Channel 0's pass, before any audio module: a lower-numbered LFO is seen with this sample's value, a
// higher-numbered one and every audio module with the previous sample's.
forcedinline void BlockRunner::stepLfos(const HeadReads& reads)
{
    const bool anySlot = anyActive(lfoWaveSlot(0), 2 * numLfos);
    for (int n = 0; n < numLfos; ++n)
    {
        torvaLib::Lfo& osc = *lfo[n];
        if (anySlot && anyActive(lfoWaveSlot(n), 2))
        {
            if (active(lfoWaveSlot(n)))
                osc.setWave(torvaLib::truncateToInt(modulatedForLfo(lfoWaveSlot(n), reads.lfoWave[n])));

            const int rateSlot = lfoRateSlot(n);
            if (active(rateSlot))
            {
                const float out = modulatedForLfo(rateSlot, reads.lfoRate[n]);
                if (snap.lfoSync[n])
                    lfoSyncConvert(&osc, bpm, torvaLib::truncateToInt(out));
                else
                    osc.setFrequency(snap.lfoRateMultiply[n] ? out * 100.0f : out);
                osc.updateIncrement();
            }
        }

        const float value = osc.step();
        torvaLib::FloatPair(value).store(values[srcLfo1 + n]);
    }
}

template <int channels> forcedinline void BlockRunner::runBuffer(int n, const HeadReads& reads)
{
    if (anyActive(bufferSizeSlot(n), 3))
    {
        const int* source = reads.bufferSlot[n];
        applySlot<channels>(bufferSizeSlot(n), source[0], [&](int c, float v) { stutter[n][c]->setSize(v); });
        applySlot<channels>(bufferRepeatsSlot(n), source[1],
                            [&](int c, float v) { stutter[n][c]->setRepeats(torvaLib::truncateToInt(v)); });
        applySlot<channels>(bufferRatioSlot(n), source[2],
                            [&](int c, float v) { stutter[n][c]->setRatio(v); });
        // A source that differs between the channels parts their loops for the rest of the block.
        stutterLockstep[n] = stutterLockstep[n] && stutter[n][0]->sameControls(*stutter[n][1]);
    }

    // With NONE selected the buffer keeps running and records silence. Its memory never takes an inf or a
    // NaN, which it would play back again and again.
    const Frame<channels> input =
        torvaLib::finiteOrSilence(routedInput<channels>(inBuffer1 + n, reads.bufferInput[n]));
    float in[numChannels] = {}, out[numChannels] = {};
    for (int c = 0; c < channels; ++c)
        in[c] = lane<channels>(input, c);
    if (stutterLockstep[n])
        torvaLib::Stutter::processPair(*stutter[n][0], *stutter[n][1], in, out);
    else
        for (int c = 0; c < channels; ++c)
            out[c] = stutter[n][c]->process(&in[c]);
    write<channels>(srcBuffer1 + n, frameOf<channels>(out));
}

template <int channels>
forcedinline void BlockRunner::runHead(Values& set, const HeadReads& reads, Frame<channels> input)
{
    values = set;
    write<channels>(srcInput, input);
    stepLfos(reads);
    runBuffer<channels>(0, reads);
    runBuffer<channels>(1, reads);
}

// Filter 1, then filter 2, each with its controls, its input and its output. Filter 2 may read filter 1's
// output of this sample; where it reads nothing of filter 1, the two run as one step: both filters'
// controls, then both inputs, then both chains side by side (with the caller's work between their
// iterations), then both outputs. No read moves past a write it depends on, so the values are those of one
// filter after the other.
template <int channels, bool wide, typename Between>
forcedinline void BlockRunner::runFilterStage(Values& set, const FilterReads* reads, Between&& between)
{
    values = set;
    int steps = 0;
    // Both inputs NONE and no slot on either filter: nothing to do but give 0.
    if (snap.filterInputSource[0] == srcNone && snap.filterInputSource[1] == srcNone &&
        !anyActive(filterMorphSlot(0), 6))
    {
        write<channels>(srcFilter1, Frame<channels>(0.0f));
        write<channels>(srcFilter2, Frame<channels>(0.0f));
    }
    else if (live.filter2ReadsFilter1)
    {
        runFilters<channels, wide>(reads, 0, 1, [](int) {});
        runFilters<channels, wide>(reads, 1, 2, [](int) {});
    }
    else
    {
        steps = runFilters<channels, wide>(reads, 0, 2, between);
    }
    for (; steps < 2; ++steps)
        between(steps);
}

// Filters first .. end - 1. NONE stops a filter where it stands and gives 0; its state resumes when a
// source is selected again.
template <int channels, bool wide, typename Between>
forcedinline int BlockRunner::runFilters(const FilterReads* reads, int first, int end, Between&& between)
{
    int steps = 0;
    Frame<channels> morph[2] = {Frame<channels>(0.0f), Frame<channels>(0.0f)};
    bool runs[2] = {};
    for (int n = first; n < end; ++n)
        runs[n] = setUpFilter<channels>(n, reads[n], morph[n]);

    Frame<channels> input[2] = {Frame<channels>(0.0f), Frame<channels>(0.0f)};
    for (int n = first; n < end; ++n)
        if (runs[n])
            input[n] = routedInput<channels>(inFilter1 + n, reads[n].input);

    float out[2][numChannels] = {};
    if (pairedFilters)
    {
        // The lanes are both channels, so the frame here is a pair; both filters run in one step when
        // they can.
        if constexpr (channels == 2)
        {
            if (end - first == 2 && runs[0] && runs[1])
            {
                // The work between the iterations moves to the sets of other samples.
                auto* const own = values;
                auto chain = startFilterSample<wide>(input[0], input[1]);
                for (; steps < filterLanes.iterations(); ++steps)
                {
                    torvaLib::SvfLanes::step(chain);
                    between(steps);
                }
                filterLanes.finishSample(chain);
                values = own;
            }
            else
                for (int n = first; n < end; ++n)
                    if (runs[n])
                        filterLanes.process(n, input[n].first(), input[n].second());
            for (int n = first; n < end; ++n)
                if (runs[n])
                    filterLanes.morphPair(n, morph[n]).store(out[n]);
        }
    }
    else
    {
        for (int n = first; n < end; ++n)
            if (runs[n])
                for (int c = 0; c < channels; ++c)
                {
                    svf[n][c]->process(lane<channels>(input[n], c));
                    out[n][c] = svf[n][c]->morph(lane<channels>(morph[n], c));
                }
    }

    for (int n = first; n < end; ++n)
        write<channels>(srcFilter1 + n, frameOf<channels>(out[n]));
    return steps;
}

// A filter's controls for this sample; false when its input is NONE.
template <int channels>
forcedinline bool BlockRunner::setUpFilter(int n, const FilterReads& reads, Frame<channels>& morph)
{
    morph = amount<channels>(filterMorphSlot(n), reads.morph, snap.filterMorph[n]);

    applySlot<channels>(filterCutoffSlot(n), reads.cutoff, [&](int c, float v) { svf[n][c]->setCutoff(v); });
    applySlot<channels>(filterResonanceSlot(n), reads.resonance,
                        [&](int c, float v) { svf[n][c]->setResonance((v * 0.01f) * 1.4f); });
    // Recomputed even when a guard rejected the value.
    if (active(filterCutoffSlot(n)) || active(filterResonanceSlot(n)))
        for (int c = 0; c < channels; ++c)
            svf[n][c]->updateCoefficients();

    return snap.filterInputSource[n] != srcNone;
}

template <int channels> forcedinline void BlockRunner::runCrusher(int n)
{
    if (anyActive(crusherBitsSlot(n), 2))
    {
        applySlot<channels>(crusherBitsSlot(n),
                            [&](int c, float v) { crusher[n][c]->setBits(torvaLib::truncateToInt(v)); });
        applySlot<channels>(crusherRateSlot(n),
                            [&](int c, float v) { reducer[n][c]->setRate(torvaLib::truncateToInt(v)); });
    }
    const Frame<channels> mix = amount<channels>(crusherMixSlot(n), snap.crusherMix[n]);

    if (snap.crusherInputSource[n] == srcNone)
    {
        write<channels>(srcCrusher1 + n, Frame<channels>(0.0f));
        return;
    }

    const Frame<channels> input = routedInput<channels>(inCrusher1 + n);
    const Frame<channels> dry = torvaLib::denormalGuard(input);
    // With the quantiser and the hold off on every channel the crushed signal is the input, and the wet
    // signal below is then the dry one: the guard turns 0 into 0.
    Frame<channels> wet = dry;
    const bool passes = anyActive(crusherBitsSlot(n), 2) ? crusherPassesOn(n, channels) : crusherPasses[n];
    if (!passes)
    {
        float crushed[numChannels];
        // The quantiser's result is needed only where the hold takes a fresh value.
        for (int c = 0; c < channels; ++c)
            crushed[c] =
                reducer[n][c]->processFresh([&] { return crusher[n][c]->process(lane<channels>(input, c)); });
        // Silence stays silent: the quantiser's offset for 0, or a value still being held, never leaks out.
        wet = torvaLib::zeroWhereZero(input, torvaLib::denormalGuard(frameOf<channels>(crushed)));
    }
    write<channels>(srcCrusher1 + n, wet * mix + (Frame<channels>(1.0f) - mix) * dry);
}

template <int channels> forcedinline void BlockRunner::runMixer(int n)
{
    const int sourceA = live.mixer[n][0];
    const int sourceB = live.mixer[n][1];
    // Two NONE inputs at the block's own mix, a finite amount of 0..1, blend to exactly 0: the guard keeps
    // 0 as it is.
    if (sourceA == srcNone && sourceB == srcNone && !active(mixerMixSlot(n)))
    {
        write<channels>(srcMixer1 + n, Frame<channels>(0.0f));
        return;
    }
    const Frame<channels> mix = amount<channels>(mixerMixSlot(n), snap.mixerMix[n]);
    const Frame<channels> a = torvaLib::denormalGuard(read<channels>(sourceA));
    const Frame<channels> b = torvaLib::denormalGuard(read<channels>(sourceB));
    write<channels>(srcMixer1 + n, (b * mix) + ((Frame<channels>(1.0f) - mix) * a));
}

template <int channels> forcedinline void BlockRunner::runMultiplier(int n)
{
    const Frame<channels> a = read<channels>(live.multiplier[n][0]);
    const Frame<channels> b = read<channels>(live.multiplier[n][1]);
    write<channels>(srcMultiplier1 + n, a * b);
}

// No NONE test here: NONE simply gives a wet signal of 0. The dry signal is this sample's input. A sample
// that is no finite number (the gain or a runaway patch took it past the float range) leaves as silence:
// a host silences a track, or the whole mix, on an inf or a NaN.
template <int channels> forcedinline void BlockRunner::runOutputStage(float* output)
{
    const Frame<channels> m = amount<channels>(dryWetSlot, snap.dryWet);
    const Frame<channels> wet = torvaLib::denormalGuard(routedInput<channels>(inDryWet));
    const Frame<channels> dry = torvaLib::denormalGuard(read<channels>(srcInput));
    const Frame<channels> out = torvaLib::finiteOrSilence(((wet * m) + ((Frame<channels>(1.0f) - m) * dry)) *
                                                          Frame<channels>(outputGain));
    for (int c = 0; c < channels; ++c)
        output[c] = lane<channels>(out, c);
}

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

template <int channels> forcedinline void BlockRunner::runPostStage(Values& set, float* output)
{
    values = set;
    runCrusher<channels>(0);
    runCrusher<channels>(1);
    for (int n = 0; n < numMixers; ++n)
        runMixer<channels>(n);
    for (int n = 0; n < numMultipliers; ++n)
        runMultiplier<channels>(n);
    runOutputStage<channels>(output);
}

// A schedule's loop out of line as a whole, so that the compiler inlines and optimises each loop on its
// own. The loop is built a second time for processors with AVX, which have the rounding instructions and
// three-operand forms the plain x86-64 build lacks; every operation gives the same bits in both builds.
template <typename Schedule> __attribute__((noinline)) int runSchedulePlain(Schedule& schedule)
{
    return schedule();
}
#if TORVA_LANES_HAVE_AVX
template <typename Schedule>
TORVA_LANES_AVX __attribute__((flatten, noinline)) int runScheduleWide(Schedule& schedule)
{
    return schedule();
}
#endif
template <bool wide, typename Schedule> int runSchedule(Schedule&& schedule)
{
#if TORVA_LANES_HAVE_AVX
    if constexpr (wide)
        return runScheduleWide(schedule);
    else
#endif
        return runSchedulePlain(schedule);
}

// The pipelined schedule runs while it can overlap work with the filters' chain, the in-order one while
// it cannot; the reads that decide it change only after a parameter write.
template <int channels, bool wide, typename Host> void BlockRunner::run(int numSamples, Host& host)
{
    for (int s = 0; s < numSamples;)
    {
        if constexpr (channels == 2)
            if (pipelineSuits<channels>())
            {
                s = runSchedule<wide>([&] { return runPipelined<channels, wide>(s, numSamples, host); });
                continue;
            }
        s = runSchedule<wide>([&] { return runInOrder<channels, wide>(s, numSamples, host); });
    }
    std::memcpy(blockValues, valueSets[0], sizeof(Values));
}

// Each sample's stages one after the other in one set of values.
template <int channels, bool wide, typename Host>
int BlockRunner::runInOrder(int first, int numSamples, Host& host)
{
    Values& set = valueSets[0];
    for (int s = first; s < numSamples; ++s)
    {
        if (pipelineSuits<channels>())
            return s;
        // The sample's MIDI events, then its input and the LFO steps: the events read no input.
        host.handleEvents(s);
        keepLive();
        float output[numChannels] = {};
        runHead<channels>(set, live.head, inputFrame<channels>(host, s));
        runFilterStage<channels, wide>(set, live.filter, [](int) {});
        runPostStage<channels>(set, output);
        host.output(s, output, channels);
    }
    return numSamples;
}

template <int channels, bool wide, typename Host>
int BlockRunner::runPipelined(int first, int numSamples, Host& host)
{
    // The sets of samples s - 1, s and s + 1 as the loop stands at sample s; the set of s + 2 is that of
    // s - 1, whose post stage is done before the head of s + 1 carries into it.
    Values *before = &valueSets[2], *now = &valueSets[0], *after = &valueSets[1];
    auto head = [&](int s, Values& set, Values& next) __attribute__((always_inline))
    {
        runHead<channels>(set, live.head, inputFrame<channels>(host, s));
        carry(set, next, headSources);
    };
    auto post = [&](int s, Values& set, Values& next) __attribute__((always_inline))
    {
        float output[numChannels] = {};
        runPostStage<channels>(set, output);
        carry(set, next, postSources);
        host.output(s, output, channels);
    };
    // The stages in the design's order, for a sample whose MIDI events keep its head from running ahead
    // and for the sample where the reads change: out of line, so that the loop keeps one copy of each
    // stage for the common case.
    auto postApart = [&](int s, Values& set, Values& next) __attribute__((noinline))
    {
        post(s, set, next);
    };
    auto headApart = [&](int s, Values& set, Values& next) __attribute__((noinline))
    {
        host.handleEvents(s);
        keepLive();
        head(s, set, next);
    };

    headApart(first, *now, *after);
    // Whether the post stage of sample s - 1 has yet to run.
    bool postPending = false;
    int s = first;
    while (s < numSamples)
    {
        const int next = s + 1;
        keepLive();
        const bool headAhead = next < numSamples && host.nextEvent() != next && pipelineSuits<channels>();
        const bool postBehind = postPending && !live.filtersReadPost;
        if (postPending && !postBehind)
            postApart(s - 1, *before, *now);

        runFilterStage<channels, wide>(
            *now, live.filter, [&](int piece) __attribute__((always_inline)) {
                if (piece == 0 && postBehind)
                    post(s - 1, *before, *now);
                else if (piece == 1 && headAhead)
                    head(next, *after, *before);
            });
        carry(*now, *after, filterSources);

        postPending = headAhead;
        // Once the reads no longer suit this schedule, the in-order one takes the next sample.
        const bool stop = !headAhead && !pipelineSuits<channels>();
        if (!headAhead)
        {
            postApart(s, *now, *after);
            if (next < numSamples && !stop)
                headApart(next, *after, *before);
        }
        Values* const done = before;
        before = now;
        now = after;
        after = done;
        s = next;
        if (stop)
            break;
    }
    if (postPending)
        postApart(numSamples - 1, *before, *now);

    // Every stage has carried its values into the set after the last sample done.
    if (now != &valueSets[0])
        std::memcpy(valueSets[0], *now, sizeof(Values));
    return s;
}

template <typename Loop, typename Channels> void runSampleLoop(Loop& loop, Channels channels)
{
#if TORVA_LANES_HAVE_AVX
    if (torvaLib::hasAvxLanes())
    {
        loop(channels, std::true_type{});
        return;
    }
#endif
    loop(channels, std::false_type{});
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
