#pragma once

#include "torva/torva_juce_lanes.h"
#include "torva/torva_juce_numeric.h"

#include <cmath>
#include <limits>

namespace torvaLib
{

// Saturating state-variable filter, run in double precision with inner oversampling, whose low, band,
// high and notch responses the engine blends with one morph amount. One object per channel and filter
// module; the engine sets it up per block and runs it once per sample, here or through SvfLanes.
class Svf
{
public:
    // Stored only when 0 < hz < 20000; coefficients are not recomputed.
    void setCutoff(float hz);
    // Stored only when 0 <= r <= 2; coefficients are not recomputed.
    void setResonance(float r);
    void updateCoefficients();
    void setOversampling(int n);
    // Ignored unless rate > 0.
    void setSampleRate(double rate);
    void clear();
    void process(double x);
    // Two independent filters, one sample each, with the same results as two process() calls: the two
    // run as the lanes of one register.
    static void processPair(Svf& first, double firstX, Svf& second, double secondX);
    // Blend of the last sample's responses, in single precision: low at 0, band at 1/3, high at 2/3,
    // notch towards 1.
    float morph(float amount) const;
    static float morph(float amount, double low, double band, double high, double notch);

    double sampleRate = 44100.0;
    int oversampling = 4;
    double damping = 2.0;
    double tuning = 0.0;
    double cutoff = 0.0;
    double resonance = 0.0;
    double lowOutput = 0.0;
    double high = 0.0;
    double band = 0.0;
    double notch = 0.0;
    double saturatedBand = 0.0;
    double low = 0.0;

private:
    friend class SvfLanes;

    // The evolving state of one sample's iterations, for one filter (double) or several side by side
    // (DoublePair, DoubleQuad).
    template <typename Lanes> struct State
    {
        Lanes band, saturatedBand, low, high;
    };
    // Svf::morph of one set of responses (double) or of two side by side (DoublePair), by one amount.
    template <typename Responses>
    static auto blend(float amount, Responses low, Responses band, Responses high, Responses notch);
    template <typename Lanes>
    static void iterate(const Lanes& x, const Lanes& tuning, const Lanes& damping, State<Lanes>& state);
    // Whether a state is of use: finite, and small enough that every response, the notch included, is a
    // finite float. One that is not came from a non-finite or huge input and would blend into a NaN or an
    // inf (an inf times a weight of 0), so the filter starts afresh instead.
    template <typename Lanes> static auto withinRange(const State<Lanes>& state)
    {
        const Lanes magnitude = state.low * state.low + state.band * state.band + state.high * state.high;
        return magnitude < Lanes(maxStateMagnitude);
    }
    // The tuning for a new cutoff, within the filter's stable range. Out of line, as the sine it calls is,
    // so that the sample loop that inlines updateCoefficients keeps its registers for the common case.
    void updateTuning();
    State<double> loadState() const;
    void storeState(const State<double>& state);

    // The sine's argument of the current tuning: an unchanged argument gives the same tuning, so a
    // cutoff modulated every sample costs a sine only when its value moves.
    double tuningArgument = std::numeric_limits<double>::quiet_NaN();
    double tunedCutoff = std::numeric_limits<double>::quiet_NaN();

    // (FLT_MAX / 2)^2: below it each response is at most half the float range, so the notch is a float.
    static constexpr double maxStateMagnitude = 2.8948018858455978e76;
    static constexpr double sqrtOf6 = 2.449489742783178;
    static constexpr double cubicPeak = 0.9428090415820635; // 2*sqrt(2)/3, the cubic's value at sqrt(2)
};

// The four filters of the two filter modules, module 0's two channels in lanes 0 and 1 and module 1's in
// lanes 2 and 3, for the length of a block: begin() takes their state, end() hands it back, and in between
// it stays in the lanes, so the long chain from one sample to the next never waits on the filter objects.
// The filters keep their settings and coefficients, and every step reads them there. The results are
// those of process() on each filter.
class SvfLanes
{
public:
    static constexpr int numLanes = 4;

    void begin(Svf* module0First, Svf* module0Second, Svf* module1First, Svf* module1Second);
    // Writes the state back, as process() would have left it, for each module that stepped.
    void end() const;
    // One sample of one module's two lanes; its two filters must have the same oversampling.
    void process(int module, double firstX, double secondX);
    // One sample of all four lanes, from each module's two inputs, in steps: startSample, then one step for
    // each iteration (the filters' oversampling, which must be the same for all four), then finishSample,
    // which leaves the lanes as process() on each filter would. The caller can do work of its own between
    // the steps that does not depend on this sample's filters: it runs in the time the chain waits on its
    // divisions, where the processor could not reach it if it came after the whole chain. Two registers
    // side by side, their iterations interleaved so that the long chains overlap; in code built for AVX,
    // one AVX register (startSampleWide).
    struct PairSteps
    {
        DoublePair x[2], tuning[2], damping[2];
        Svf::State<DoublePair> state[2];
    };
    PairSteps startSample(FloatPair module0, FloatPair module1) const;
    static void step(PairSteps& steps);
    void finishSample(PairSteps& steps);
#if TORVA_LANES_HAVE_AVX
    struct QuadSteps
    {
        DoubleQuad x, tuning, damping;
        Svf::State<DoubleQuad> state;
    };
    // Flattened, so that the four-lane operations are AVX instructions in them wherever they land.
    TORVA_LANES_AVX __attribute__((flatten)) QuadSteps startSampleWide(FloatPair module0,
                                                                       FloatPair module1) const;
    TORVA_LANES_AVX __attribute__((flatten)) static void step(QuadSteps& steps);
    TORVA_LANES_AVX __attribute__((flatten)) void finishSample(QuadSteps& steps);
#endif
    int iterations() const
    {
        return filter[0]->oversampling;
    }
    // Svf::morph of one lane's last responses.
    float morph(int lane, float amount) const;
    // Svf::morph of one module's two lanes, lane c by amount[c]: both at once when the two amounts are
    // the same.
    FloatPair morphPair(int module, FloatPair amount) const;

private:
    template <typename Lanes> static void restartOutOfRange(Svf::State<Lanes>& state);
    Svf::State<DoublePair> pairState(int firstLane) const;
    void storePair(int firstLane, const Svf::State<DoublePair>& state);
    DoublePair pairOf(double Svf::*field, int firstLane) const
    {
        return {filter[firstLane]->*field, filter[firstLane + 1]->*field};
    }

    Svf* filter[numLanes] = {};
    alignas(32) double band[numLanes] = {};
    alignas(32) double saturatedBand[numLanes] = {};
    alignas(32) double low[numLanes] = {};
    alignas(32) double high[numLanes] = {};
    bool ran[2] = {};
};

inline void Svf::setCutoff(float hz)
{
    if (hz > 0.0f && hz < 20000.0f)
        cutoff = hz;
}

inline void Svf::setResonance(float r)
{
    if (r >= 0.0f && r <= 2.0f)
        resonance = r;
}

inline void Svf::updateCoefficients()
{
    damping = 2.0 - resonance;
    // The tuning moves only with the cutoff, the oversampling and the rate; the setters of the last two
    // forget the cutoff it was worked out for.
    if (cutoff != tunedCutoff)
        updateTuning();
}

// The band path is saturated with a lag of one iteration: the integrators and the damping use the value
// saturated in the iteration before. Sound depends on these exact steps and their order. Both branches of
// the saturation are worked out and one is chosen per lane; the cubic, which is rarely needed, only when a
// lane needs it.
//
// Past sqrt(6) the cubic b - b^3/6 would turn the band's sign, and the soft clip, the damping and the low
// integrator would then all push the wrong way and the filter would run away for good. There the band takes
// the cubic's peak, 2*sqrt(2)/3, with its own sign instead. Within sqrt(6) the cubic stands as it is.
template <typename Lanes>
inline void Svf::iterate(const Lanes& x, const Lanes& tuning, const Lanes& damping, State<Lanes>& state)
{
    Lanes b = state.band;
    const auto large = (b > Lanes(1.0)) | (b < Lanes(-1.0));
    if (any(large))
    {
        const auto beyondPeak = (b > Lanes(sqrtOf6)) | (b < Lanes(-sqrtOf6));
        Lanes cubic = b + (b * b * b) / Lanes(-6.0);
        if (any(beyondPeak))
            cubic = select(beyondPeak, select(b > Lanes(0.0), Lanes(cubicPeak), Lanes(-cubicPeak)), cubic);
        b = select(large, cubic, b);
    }

    const Lanes d = state.saturatedBand;
    state.low = state.low + tuning * d;
    state.high = (x - state.low) - damping * (d / sqrt(d * d + Lanes(1.0)));

    const Lanes soft = b * (b * b + Lanes(27.0)) / (Lanes(9.0) * b * b + Lanes(27.0));
    state.saturatedBand = select(b < Lanes(-3.0), Lanes(-1.0), select(b > Lanes(3.0), Lanes(1.0), soft));

    state.band = d + tuning * state.high;
}

inline Svf::State<double> Svf::loadState() const
{
    return {band, saturatedBand, low, 0.0};
}

inline void Svf::storeState(const State<double>& state)
{
    // A state that is no finite number any more (a non-finite or overflowing value reached the filter)
    // would stay so for good and silence the module for the rest of the session: it starts afresh.
    if (!all(withinRange(state)))
    {
        clear();
        return;
    }

    low = state.low;
    lowOutput = state.low;
    band = state.band;
    saturatedBand = state.saturatedBand;
    high = state.high;
    notch = state.low + state.high;
}

inline void Svf::process(double x)
{
    if (oversampling <= 0)
        return;

    State<double> state = loadState();
    for (int n = 0; n < oversampling; ++n)
        iterate(x, tuning, damping, state);
    storeState(state);
}

inline void Svf::processPair(Svf& first, double firstX, Svf& second, double secondX)
{
    if (first.oversampling != second.oversampling || first.oversampling <= 0)
    {
        first.process(firstX);
        second.process(secondX);
        return;
    }

    const DoublePair x(firstX, secondX), tuning(first.tuning, second.tuning),
        damping(first.damping, second.damping);
    State<DoublePair> state{{first.band, second.band},
                            {first.saturatedBand, second.saturatedBand},
                            {first.low, second.low},
                            {0.0, 0.0}};
    for (int n = 0; n < first.oversampling; ++n)
        iterate(x, tuning, damping, state);
    first.storeState({state.band[0], state.saturatedBand[0], state.low[0], state.high[0]});
    second.storeState({state.band[1], state.saturatedBand[1], state.low[1], state.high[1]});
}

inline float Svf::morph(float amount) const
{
    return morph(amount, lowOutput, band, high, notch);
}

template <typename Responses>
inline auto Svf::blend(float amount, Responses low, Responses band, Responses high, Responses notch)
{
    using Lanes = decltype(toFloats(low));
    const float m = amount;
    if (m < 0.333333343f)
    {
        const float m3 = m * 3.0f;
        return Lanes(1.0f - m3) * denormalGuard(toFloats(low)) + Lanes(m3) * denormalGuard(toFloats(band));
    }
    if (m < 0.666666687f)
    {
        const float k = (m - 0.333333343f) * 3.0f;
        return Lanes(1.0f - k) * denormalGuard(toFloats(band)) + Lanes(k) * denormalGuard(toFloats(high));
    }
    const float k = (m - 0.666666687f) * 3.0f;
    return Lanes(1.0f - k) * denormalGuard(toFloats(high)) + Lanes(k) * denormalGuard(toFloats(notch));
}

inline float Svf::morph(float amount, double low, double band, double high, double notch)
{
    return blend(amount, low, band, high, notch);
}

inline void SvfLanes::begin(Svf* module0First, Svf* module0Second, Svf* module1First, Svf* module1Second)
{
    Svf* const filters[numLanes] = {module0First, module0Second, module1First, module1Second};
    for (int n = 0; n < numLanes; ++n)
    {
        filter[n] = filters[n];
        band[n] = filters[n]->band;
        saturatedBand[n] = filters[n]->saturatedBand;
        low[n] = filters[n]->low;
        high[n] = filters[n]->high;
    }
    ran[0] = ran[1] = false;
}

inline void SvfLanes::end() const
{
    for (int n = 0; n < numLanes; ++n)
        if (ran[n / 2])
            filter[n]->storeState({band[n], saturatedBand[n], low[n], high[n]});
}

// A lane whose state is out of range starts afresh, as Svf::storeState does.
template <typename Lanes> inline void SvfLanes::restartOutOfRange(Svf::State<Lanes>& state)
{
    const Lanes zero(0.0);
    const auto inRange = Svf::withinRange(state);
    if (all(inRange))
        return;
    state.band = select(inRange, state.band, zero);
    state.saturatedBand = select(inRange, state.saturatedBand, zero);
    state.low = select(inRange, state.low, zero);
    state.high = select(inRange, state.high, zero);
}

inline Svf::State<DoublePair> SvfLanes::pairState(int firstLane) const
{
    return {DoublePair::load(band + firstLane), DoublePair::load(saturatedBand + firstLane),
            DoublePair::load(low + firstLane), DoublePair::load(high + firstLane)};
}

inline void SvfLanes::storePair(int firstLane, const Svf::State<DoublePair>& state)
{
    state.band.store(band + firstLane);
    state.saturatedBand.store(saturatedBand + firstLane);
    state.low.store(low + firstLane);
    state.high.store(high + firstLane);
}

inline void SvfLanes::process(int module, double firstX, double secondX)
{
    const int lane = 2 * module;
    const DoublePair x(firstX, secondX), tuning = pairOf(&Svf::tuning, lane),
                                         damping = pairOf(&Svf::damping, lane);
    Svf::State<DoublePair> state = pairState(lane);
    for (int n = 0; n < filter[lane]->oversampling; ++n)
        Svf::iterate(x, tuning, damping, state);
    restartOutOfRange(state);
    storePair(lane, state);
    ran[module] = true;
}

inline SvfLanes::PairSteps SvfLanes::startSample(FloatPair module0, FloatPair module1) const
{
    return {{toDoubles(module0), toDoubles(module1)},
            {pairOf(&Svf::tuning, 0), pairOf(&Svf::tuning, 2)},
            {pairOf(&Svf::damping, 0), pairOf(&Svf::damping, 2)},
            {pairState(0), pairState(2)}};
}

inline void SvfLanes::step(PairSteps& steps)
{
    Svf::iterate(steps.x[0], steps.tuning[0], steps.damping[0], steps.state[0]);
    Svf::iterate(steps.x[1], steps.tuning[1], steps.damping[1], steps.state[1]);
}

inline void SvfLanes::finishSample(PairSteps& steps)
{
    for (int n = 0; n < 2; ++n)
    {
        restartOutOfRange(steps.state[n]);
        storePair(2 * n, steps.state[n]);
    }
    ran[0] = ran[1] = true;
}

#if TORVA_LANES_HAVE_AVX
TORVA_LANES_AVX inline SvfLanes::QuadSteps SvfLanes::startSampleWide(FloatPair module0,
                                                                     FloatPair module1) const
{
    using quadLanes::quad;
    return {
        quad(_mm256_cvtps_pd(_mm_movelh_ps(module0.v, module1.v))),
        quad(_mm256_setr_pd(filter[0]->tuning, filter[1]->tuning, filter[2]->tuning, filter[3]->tuning)),
        quad(_mm256_setr_pd(filter[0]->damping, filter[1]->damping, filter[2]->damping, filter[3]->damping)),
        {quad(_mm256_load_pd(band)), quad(_mm256_load_pd(saturatedBand)), quad(_mm256_load_pd(low)),
         quad(_mm256_load_pd(high))}};
}

TORVA_LANES_AVX inline void SvfLanes::step(QuadSteps& steps)
{
    Svf::iterate(steps.x, steps.tuning, steps.damping, steps.state);
}

TORVA_LANES_AVX inline void SvfLanes::finishSample(QuadSteps& steps)
{
    using quadLanes::get;
    restartOutOfRange(steps.state);
    _mm256_store_pd(band, get(steps.state.band));
    _mm256_store_pd(saturatedBand, get(steps.state.saturatedBand));
    _mm256_store_pd(low, get(steps.state.low));
    _mm256_store_pd(high, get(steps.state.high));
    ran[0] = ran[1] = true;
}
#endif

inline float SvfLanes::morph(int lane, float amount) const
{
    return Svf::morph(amount, low[lane], band[lane], high[lane], low[lane] + high[lane]);
}

inline FloatPair SvfLanes::morphPair(int module, FloatPair amount) const
{
    const int lane = 2 * module;
    const float m = amount.first();
    // Equal amounts choose the same blend; +0 and -0, the only unequal bits that compare equal, blend
    // alike, since a response through the guard is never -0.
    if (!(m == amount.second()))
        return {morph(lane, m), morph(lane + 1, amount.second())};

    const DoublePair l = DoublePair::load(low + lane), h = DoublePair::load(high + lane);
    return Svf::blend(m, l, DoublePair::load(band + lane), h, l + h);
}

} // namespace torvaLib
