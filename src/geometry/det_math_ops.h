// Error-free transformations and bit access for the deterministic
// trigonometry. Everything here is exact IEEE double arithmetic, so it gives
// the same bits on every SSE2 target; it relies on no fused multiply-add being
// formed (-ffp-contract=off) and on no extended precision (FLT_EVAL_METHOD 0).
#pragma once

#include <cfloat>
#include <cstddef>
#include <cstdint>
#include <cstring>

static_assert(FLT_EVAL_METHOD == 0,
              "double arithmetic must round to double: on i686 build with -msse2 -mfpmath=sse");
#if defined(__FAST_MATH__)
#error "the geometry needs IEEE arithmetic: do not build it with -ffast-math"
#endif

namespace ftv::detmath::detail {

inline std::uint64_t bits_of(double v) {
    std::uint64_t u;
    std::memcpy(&u, &v, sizeof u);
    return u;
}

inline double from_bits(std::uint64_t u) {
    double v;
    std::memcpy(&v, &u, sizeof v);
    return v;
}

// 2^k for -1022 <= k <= 1023.
inline double pow2(int k) { return from_bits(static_cast<std::uint64_t>(k + 1023) << 52); }

// The biased exponent field minus the bias: zero and subnormals give -1023,
// infinities and NaNs 1024.
inline int exponent_of(double v) { return static_cast<int>((bits_of(v) >> 52) & 0x7ff) - 1023; }

// A value as an unevaluated sum hi + lo with |lo| <= half an ulp of hi.
struct Pair {
    double hi, lo;
};

// hi + lo == a + b exactly (Knuth), for finite a, b whose sum does not overflow.
inline Pair two_sum(double a, double b) {
    const double s = a + b;
    const double bb = s - a;
    return {s, (a - (s - bb)) + (b - bb)};
}

// Same as two_sum when |a| >= |b| or a is 0 (Dekker): three operations.
inline Pair fast_two_sum(double a, double b) {
    const double s = a + b;
    return {s, b - (s - a)};
}

// Veltkamp's split: hi keeps the upper 26 bits of a, hi + lo == a. |a| < 2^995.
inline Pair split(double a) {
    const double c = 134217729.0 * a;  // 2^27 + 1
    const double hi = c - (c - a);
    return {hi, a - hi};
}

// hi + lo == a * b exactly (Dekker), without a fused multiply-add. Needs
// |a|, |b| < 2^995 and a product far enough above the subnormal range that
// the partial products do not underflow (|a * b| >= 2^-960 is ample).
inline Pair two_prod(double a, double b) {
    const double p = a * b;
    const Pair as = split(a);
    const Pair bs = split(b);
    const double e = ((as.hi * bs.hi - p) + as.hi * bs.lo + as.lo * bs.hi) + as.lo * bs.lo;
    return {p, e};
}

// Horner evaluation of c[0] + c[1] z + ... + c[N-1] z^(N-1).
template <std::size_t N>
inline double horner(double z, const double (&c)[N]) {
    double r = c[N - 1];
    for (std::size_t i = N - 1; i-- > 0;) r = r * z + c[i];
    return r;
}

}  // namespace ftv::detmath::detail
