#pragma once

#include <cmath>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define TORVA_LANES_SSE2 1
#else
#define TORVA_LANES_SSE2 0
#endif

// AVX code in a build for any x86-64: only functions marked TORVA_LANES_AVX have it, and they run only
// once hasAvxLanes() said the processor has it. No AVX register type crosses a function boundary here:
// a 32-byte vector passes in a register on one side of a call between AVX and plain code and in memory
// on the other, so such a call, wherever the compiler does not inline it, would read garbage.
#if TORVA_LANES_SSE2 && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define TORVA_LANES_HAVE_AVX 1
#define TORVA_LANES_AVX __attribute__((target("avx")))
#else
#define TORVA_LANES_HAVE_AVX 0
#endif

// Always inlined: for a step the engine's sample loop calls once per module and sample, where a call
// would cost the loop its registers.
#if defined(__GNUC__) || defined(__clang__)
#define TORVA_ALWAYS_INLINE inline __attribute__((always_inline))
#else
#define TORVA_ALWAYS_INLINE inline
#endif

namespace torvaLib
{

// Two independent double-precision values worked on side by side: one SSE2 register on x86-64, a plain
// pair of doubles elsewhere. Every operation is the IEEE operation of each lane on its own, so a lane
// gives exactly the bits the same scalar code gives. The filters use it to run two of their chains at
// once; the scalar overloads below let one template body serve both.
struct DoublePair
{
    DoublePair() = default;
    explicit DoublePair(double both) : DoublePair(both, both) {}
#if TORVA_LANES_SSE2
    DoublePair(double first, double second) : v(_mm_set_pd(second, first)) {}
    explicit DoublePair(__m128d lanes) : v(lanes) {}
    static DoublePair load(const double* two)
    {
        return DoublePair(_mm_loadu_pd(two));
    }
    void store(double* two) const
    {
        _mm_storeu_pd(two, v);
    }
    double first() const
    {
        return _mm_cvtsd_f64(v);
    }
    double second() const
    {
        return _mm_cvtsd_f64(_mm_unpackhi_pd(v, v));
    }

    __m128d v;
#else
    DoublePair(double a, double b) : lane{a, b} {}
    static DoublePair load(const double* two)
    {
        return {two[0], two[1]};
    }
    void store(double* two) const
    {
        two[0] = lane[0];
        two[1] = lane[1];
    }
    double first() const
    {
        return lane[0];
    }
    double second() const
    {
        return lane[1];
    }

    double lane[2];
#endif
    double operator[](int n) const
    {
        return n == 0 ? first() : second();
    }
};

// A per-lane truth value, as a compare makes it.
struct PairMask
{
#if TORVA_LANES_SSE2
    __m128d bits;
#else
    bool lane[2];
#endif
};

#if TORVA_LANES_SSE2

inline DoublePair operator+(DoublePair a, DoublePair b)
{
    return DoublePair(_mm_add_pd(a.v, b.v));
}
inline DoublePair operator-(DoublePair a, DoublePair b)
{
    return DoublePair(_mm_sub_pd(a.v, b.v));
}
inline DoublePair operator*(DoublePair a, DoublePair b)
{
    return DoublePair(_mm_mul_pd(a.v, b.v));
}
inline DoublePair operator/(DoublePair a, DoublePair b)
{
    return DoublePair(_mm_div_pd(a.v, b.v));
}
inline DoublePair sqrt(DoublePair a)
{
    return DoublePair(_mm_sqrt_pd(a.v));
}
// Ordered compares: a lane holding a NaN compares false, as a scalar compare does.
inline PairMask operator>(DoublePair a, DoublePair b)
{
    return {_mm_cmpgt_pd(a.v, b.v)};
}
inline PairMask operator<(DoublePair a, DoublePair b)
{
    return {_mm_cmplt_pd(a.v, b.v)};
}
inline PairMask operator==(DoublePair a, DoublePair b)
{
    return {_mm_cmpeq_pd(a.v, b.v)};
}
inline PairMask operator|(PairMask a, PairMask b)
{
    return {_mm_or_pd(a.bits, b.bits)};
}
inline bool any(PairMask m)
{
    return _mm_movemask_pd(m.bits) != 0;
}
inline bool all(PairMask m)
{
    return _mm_movemask_pd(m.bits) == 3;
}
inline DoublePair select(PairMask m, DoublePair ifTrue, DoublePair ifFalse)
{
    return DoublePair(_mm_or_pd(_mm_and_pd(m.bits, ifTrue.v), _mm_andnot_pd(m.bits, ifFalse.v)));
}

#else

template <typename Op> inline DoublePair eachLane(DoublePair a, DoublePair b, Op op)
{
    return {op(a.lane[0], b.lane[0]), op(a.lane[1], b.lane[1])};
}
inline DoublePair operator+(DoublePair a, DoublePair b)
{
    return eachLane(a, b, [](double x, double y) { return x + y; });
}
inline DoublePair operator-(DoublePair a, DoublePair b)
{
    return eachLane(a, b, [](double x, double y) { return x - y; });
}
inline DoublePair operator*(DoublePair a, DoublePair b)
{
    return eachLane(a, b, [](double x, double y) { return x * y; });
}
inline DoublePair operator/(DoublePair a, DoublePair b)
{
    return eachLane(a, b, [](double x, double y) { return x / y; });
}
inline DoublePair sqrt(DoublePair a)
{
    return {std::sqrt(a.lane[0]), std::sqrt(a.lane[1])};
}
inline PairMask operator>(DoublePair a, DoublePair b)
{
    return {{a.lane[0] > b.lane[0], a.lane[1] > b.lane[1]}};
}
inline PairMask operator<(DoublePair a, DoublePair b)
{
    return {{a.lane[0] < b.lane[0], a.lane[1] < b.lane[1]}};
}
inline PairMask operator==(DoublePair a, DoublePair b)
{
    return {{a.lane[0] == b.lane[0], a.lane[1] == b.lane[1]}};
}
inline PairMask operator|(PairMask a, PairMask b)
{
    return {{a.lane[0] || b.lane[0], a.lane[1] || b.lane[1]}};
}
inline bool any(PairMask m)
{
    return m.lane[0] || m.lane[1];
}
inline bool all(PairMask m)
{
    return m.lane[0] && m.lane[1];
}
inline DoublePair select(PairMask m, DoublePair ifTrue, DoublePair ifFalse)
{
    return {m.lane[0] ? ifTrue.lane[0] : ifFalse.lane[0], m.lane[1] ? ifTrue.lane[1] : ifFalse.lane[1]};
}

#endif

#if TORVA_LANES_HAVE_AVX

// Whether this processor runs AVX code: asked once, as the library loads, so the audio thread never
// waits for the answer.
extern const bool avxLanesAvailable;
inline bool hasAvxLanes()
{
    return avxLanesAvailable;
}

// Four independent doubles worked on in one AVX register, with the IEEE operation of each lane on its
// own, as DoublePair. It is a plain array, which every calling convention passes in memory, so it is
// sound across any call; inlined into AVX code, the copies vanish and each operation is one instruction.
// Only TORVA_LANES_AVX code may use the operations.
struct alignas(32) DoubleQuad
{
    DoubleQuad() = default;
    explicit DoubleQuad(double all) : lane{all, all, all, all} {}
    double lane[4];
};

struct alignas(32) QuadMask
{
    double bits[4];
};

namespace quadLanes
{
TORVA_LANES_AVX inline __m256d get(const DoubleQuad& q)
{
    return _mm256_load_pd(q.lane);
}
TORVA_LANES_AVX inline __m256d get(const QuadMask& m)
{
    return _mm256_load_pd(m.bits);
}
TORVA_LANES_AVX inline DoubleQuad quad(__m256d v)
{
    DoubleQuad q;
    _mm256_store_pd(q.lane, v);
    return q;
}
TORVA_LANES_AVX inline QuadMask mask(__m256d v)
{
    QuadMask m;
    _mm256_store_pd(m.bits, v);
    return m;
}
} // namespace quadLanes

TORVA_LANES_AVX inline DoubleQuad operator+(const DoubleQuad& a, const DoubleQuad& b)
{
    return quadLanes::quad(_mm256_add_pd(quadLanes::get(a), quadLanes::get(b)));
}
TORVA_LANES_AVX inline DoubleQuad operator-(const DoubleQuad& a, const DoubleQuad& b)
{
    return quadLanes::quad(_mm256_sub_pd(quadLanes::get(a), quadLanes::get(b)));
}
TORVA_LANES_AVX inline DoubleQuad operator*(const DoubleQuad& a, const DoubleQuad& b)
{
    return quadLanes::quad(_mm256_mul_pd(quadLanes::get(a), quadLanes::get(b)));
}
TORVA_LANES_AVX inline DoubleQuad operator/(const DoubleQuad& a, const DoubleQuad& b)
{
    return quadLanes::quad(_mm256_div_pd(quadLanes::get(a), quadLanes::get(b)));
}
TORVA_LANES_AVX inline DoubleQuad sqrt(const DoubleQuad& a)
{
    return quadLanes::quad(_mm256_sqrt_pd(quadLanes::get(a)));
}
// Ordered, non-signalling compares, as the scalar ones.
TORVA_LANES_AVX inline QuadMask operator>(const DoubleQuad& a, const DoubleQuad& b)
{
    return quadLanes::mask(_mm256_cmp_pd(quadLanes::get(a), quadLanes::get(b), _CMP_GT_OQ));
}
TORVA_LANES_AVX inline QuadMask operator<(const DoubleQuad& a, const DoubleQuad& b)
{
    return quadLanes::mask(_mm256_cmp_pd(quadLanes::get(a), quadLanes::get(b), _CMP_LT_OQ));
}
TORVA_LANES_AVX inline QuadMask operator==(const DoubleQuad& a, const DoubleQuad& b)
{
    return quadLanes::mask(_mm256_cmp_pd(quadLanes::get(a), quadLanes::get(b), _CMP_EQ_OQ));
}
TORVA_LANES_AVX inline QuadMask operator|(const QuadMask& a, const QuadMask& b)
{
    return quadLanes::mask(_mm256_or_pd(quadLanes::get(a), quadLanes::get(b)));
}
TORVA_LANES_AVX inline bool any(const QuadMask& m)
{
    return _mm256_movemask_pd(quadLanes::get(m)) != 0;
}
TORVA_LANES_AVX inline bool all(const QuadMask& m)
{
    return _mm256_movemask_pd(quadLanes::get(m)) == 15;
}
TORVA_LANES_AVX inline DoubleQuad select(const QuadMask& m, const DoubleQuad& ifTrue,
                                         const DoubleQuad& ifFalse)
{
    const __m256d bits = quadLanes::get(m);
    return quadLanes::quad(_mm256_or_pd(_mm256_and_pd(bits, quadLanes::get(ifTrue)),
                                        _mm256_andnot_pd(bits, quadLanes::get(ifFalse))));
}

#else

inline bool hasAvxLanes()
{
    return false;
}

#endif

// Two independent single-precision values side by side, the two channels of one sample: the low half of
// an SSE register on x86-64, a plain pair elsewhere. As with DoublePair, each lane gets exactly the bits
// of the scalar operation. minOf and maxOf are the compare-and-selects a < b ? a : b and a > b ? a : b,
// which give b when either lane value is a NaN.
struct FloatPair
{
    FloatPair() = default;
#if TORVA_LANES_SSE2
    explicit FloatPair(float both) : v(_mm_set1_ps(both)) {}
    FloatPair(float first, float second) : v(_mm_setr_ps(first, second, 0.0f, 0.0f)) {}
    explicit FloatPair(__m128 lanes) : v(lanes) {}
    // Two consecutive floats, moved as one 64-bit value (__m128i may alias any type).
    static FloatPair load(const float* two)
    {
        return FloatPair(_mm_castsi128_ps(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(two))));
    }
    // As a vector of two floats where the compiler has one: it aliases floats only, where a store of
    // __m128i could alias anything and would make the compiler read every value it keeps in a register
    // again after it.
    void store(float* two) const
    {
#if defined(__GNUC__) || defined(__clang__)
        typedef float Two __attribute__((vector_size(8)));
        *reinterpret_cast<Two*>(two) = __builtin_shufflevector(v, v, 0, 1);
#else
        _mm_storel_epi64(reinterpret_cast<__m128i*>(two), _mm_castps_si128(v));
#endif
    }
    float first() const
    {
        return _mm_cvtss_f32(v);
    }
    float second() const
    {
        return _mm_cvtss_f32(_mm_shuffle_ps(v, v, 1));
    }

    __m128 v;
#else
    explicit FloatPair(float both) : lane{both, both} {}
    FloatPair(float first, float second) : lane{first, second} {}
    static FloatPair load(const float* two)
    {
        return {two[0], two[1]};
    }
    void store(float* two) const
    {
        two[0] = lane[0];
        two[1] = lane[1];
    }
    float first() const
    {
        return lane[0];
    }
    float second() const
    {
        return lane[1];
    }

    float lane[2];
#endif
    float operator[](int c) const
    {
        return c == 0 ? first() : second();
    }
};

#if TORVA_LANES_SSE2
inline FloatPair operator+(FloatPair a, FloatPair b)
{
    return FloatPair(_mm_add_ps(a.v, b.v));
}
inline FloatPair operator-(FloatPair a, FloatPair b)
{
    return FloatPair(_mm_sub_ps(a.v, b.v));
}
inline FloatPair operator*(FloatPair a, FloatPair b)
{
    return FloatPair(_mm_mul_ps(a.v, b.v));
}
inline FloatPair minOf(FloatPair a, FloatPair b)
{
    return FloatPair(_mm_min_ps(a.v, b.v));
}
inline FloatPair maxOf(FloatPair a, FloatPair b)
{
    return FloatPair(_mm_max_ps(a.v, b.v));
}
// x where x != 0, else 0.
inline FloatPair zeroWhereZero(FloatPair x, FloatPair value)
{
    return FloatPair(_mm_andnot_ps(_mm_cmpeq_ps(x.v, _mm_setzero_ps()), value.v));
}
// Each lane rounded to single precision, as a float cast rounds it.
inline FloatPair toFloats(DoublePair x)
{
    return FloatPair(_mm_cvtpd_ps(x.v));
}
// Each lane widened to double precision, exactly.
inline DoublePair toDoubles(FloatPair x)
{
    return DoublePair(_mm_cvtps_pd(x.v));
}
#else
inline FloatPair operator+(FloatPair a, FloatPair b)
{
    return {a.lane[0] + b.lane[0], a.lane[1] + b.lane[1]};
}
inline FloatPair operator-(FloatPair a, FloatPair b)
{
    return {a.lane[0] - b.lane[0], a.lane[1] - b.lane[1]};
}
inline FloatPair operator*(FloatPair a, FloatPair b)
{
    return {a.lane[0] * b.lane[0], a.lane[1] * b.lane[1]};
}
inline FloatPair minOf(FloatPair a, FloatPair b)
{
    return {a.lane[0] < b.lane[0] ? a.lane[0] : b.lane[0], a.lane[1] < b.lane[1] ? a.lane[1] : b.lane[1]};
}
inline FloatPair maxOf(FloatPair a, FloatPair b)
{
    return {a.lane[0] > b.lane[0] ? a.lane[0] : b.lane[0], a.lane[1] > b.lane[1] ? a.lane[1] : b.lane[1]};
}
inline FloatPair zeroWhereZero(FloatPair x, FloatPair value)
{
    return {x.lane[0] == 0.0f ? 0.0f : value.lane[0], x.lane[1] == 0.0f ? 0.0f : value.lane[1]};
}
inline FloatPair toFloats(DoublePair x)
{
    return {(float)x.lane[0], (float)x.lane[1]};
}
inline DoublePair toDoubles(FloatPair x)
{
    return {(double)x.lane[0], (double)x.lane[1]};
}
#endif

// The scalar twins: one lane, a plain double or float and a bool.
inline float toFloats(double x)
{
    return (float)x;
}
inline float minOf(float a, float b)
{
    return a < b ? a : b;
}
inline float maxOf(float a, float b)
{
    return a > b ? a : b;
}
inline float zeroWhereZero(float x, float value)
{
    return x == 0.0f ? 0.0f : value;
}
inline bool any(bool m)
{
    return m;
}
inline bool all(bool m)
{
    return m;
}
inline double select(bool m, double ifTrue, double ifFalse)
{
    return m ? ifTrue : ifFalse;
}
inline double sqrt(double a)
{
    return std::sqrt(a);
}

} // namespace torvaLib
