#pragma once

// Each module's step through one sample, and the three stages of a sample that run them in the design's
// order. Included only by AudioEngine.cpp, so that the sample loop inlines them as one unit.

#include "plugin/BlockRunner.h"

namespace
{

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

} // namespace
