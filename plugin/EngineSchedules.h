#pragma once

// The sample loop's schedules: which runs when, the in-order loop, the pipelined loop, and the trampolines
// that build each loop for plain x86-64 and for AVX. Included only by AudioEngine.cpp.

#include "plugin/BlockRunner.h"
#include "plugin/ModuleSteps.h"

namespace
{

// Whether the pipelined schedule overlaps the filters' chain with both the head of the next sample and the
// post stage of the previous one: it needs both filter modules stepping as one, a head that reads nothing of
// the filters or the post stage, and filters that read nothing of the post stage. Otherwise a stage runs
// apart from the chain, and the in-order schedule does the same work faster.
template <int channels> inline bool BlockRunner::pipelineSuits() const
{
    return channels == 2 && pairedFilters && !live.head.readsLaterStage && !live.filtersReadPost;
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
