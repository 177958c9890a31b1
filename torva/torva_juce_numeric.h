#pragma once

#include "torva/torva_juce_lanes.h"

#include <climits>
#include <cmath>

namespace torvaLib
{

// Denormal guard shared by every blending stage: two single-precision additions in this order. Presets
// and sound depend on these exact bits, so the pair must never be folded into "x" (the build forbids
// fast-math and contraction for that reason).
inline float denormalGuard(float x)
{
    return (x + 0.1f) + (-0.1f);
}
inline FloatPair denormalGuard(FloatPair x)
{
    return (x + FloatPair(0.1f)) + FloatPair(-0.1f);
}

// An input sample as the engine takes it: one that is no finite number (a fault of whatever fed the
// plug-in) enters as silence, since a filter's state or a buffer's memory would otherwise keep it for good.
// Every finite sample passes unchanged.
inline float finiteOrSilence(float x)
{
    return std::isfinite(x) ? x : 0.0f;
}
inline FloatPair finiteOrSilence(FloatPair x)
{
#if TORVA_LANES_SSE2
    // x - x is 0 for every finite x and NaN otherwise.
    const __m128 difference = _mm_sub_ps(x.v, x.v);
    return FloatPair(_mm_and_ps(_mm_cmpord_ps(difference, difference), x.v));
#else
    return {finiteOrSilence(x.first()), finiteOrSilence(x.second())};
#endif
}

// Truncation toward zero, as a C++ float-to-int conversion, but defined for every input: a NaN gives 0
// and values beyond the int range saturate. Engine values that may carry a NaN from a modulation source
// go through here before they become counts or indices.
inline int truncateToInt(float x)
{
#if TORVA_LANES_SSE2
    // The processor's truncation gives INT_MIN for every value it cannot convert, so only that answer
    // needs a second look.
    const int truncated = _mm_cvttss_si32(_mm_set_ss(x));
    if (truncated != INT_MIN)
        return truncated;
#else
    if (x >= -2147483648.0f && x < 2147483648.0f)
        return (int)x;
#endif
    if (!(x == x))
        return 0;
    return x > 0.0f ? INT_MAX : INT_MIN;
}

// Brings a read position back into [0, length): one that is not finite restarts at 0, a finite one is
// reduced by whole lengths (and lands on 0 should rounding leave it outside). Only the rare cases where a
// one-step wrap could not keep up come here, so that no position ever indexes outside its memory.
inline float wrapIntoLength(float position, float length)
{
    if (!std::isfinite(position))
        return 0.0f;
    position -= std::floor(position / length) * length;
    return position >= 0.0f && position < length ? position : 0.0f;
}

} // namespace torvaLib
