// Reduction of a double x to n * pi/2 + r with |r| <= pi/4 (a hair more when
// x * 2/pi rounds to a tie), r returned as an unevaluated sum hi + lo good to
// about 100 bits. Doubles can lie as close as about 2^-61 to a multiple of
// pi/2, so pi/2 is carried to well beyond 53 bits in both ranges.
#pragma once

#include "det_math_ops.h"
#include "det_math_tables.h"

namespace ftv::detmath::detail {

struct Reduced {
    int quadrant;  // n mod 4, in 0..3
    double hi, lo;
};

// Cody and Waite with pi/2 in four pieces, for |x| <= 2^20. The first three
// have 33 bits, so their products with n (|n| < 2^20) are exact; x - n * piece1
// is exact by Sterbenz's lemma, and the next two subtractions keep their
// rounding errors, leaving only the last piece's product rounded (~2^-132).
inline Reduced reduce_medium(double x) {
    constexpr double kRounder = 0x1.8p52;  // adding and removing it rounds to an integer
    const double n = (x * kTwoOverPi + kRounder) - kRounder;
    const double a = x - n * kPio2Part[0];
    const Pair s1 = two_sum(a, -(n * kPio2Part[1]));
    const Pair s2 = two_sum(s1.hi, -(n * kPio2Part[2]));
    const double tail = (s1.lo + s2.lo) - n * kPio2Part[3];
    const Pair r = two_sum(s2.hi, tail);
    return {static_cast<int>(n) & 3, r.hi, r.lo};
}

// Bits pos .. pos + 63 of the little-endian number in limbs[0 .. count - 1];
// bits outside it read as zero.
inline std::uint64_t bit_window(const std::uint32_t* limbs, int count, int pos) {
    const auto limb = [&](int i) -> std::uint64_t { return i >= 0 && i < count ? limbs[i] : 0; };
    const int q = pos >= 0 ? pos / 32 : -((31 - pos) / 32);
    const int shift = pos - 32 * q;
    const std::uint64_t low = limb(q) | (limb(q + 1) << 32);
    return shift == 0 ? low : (low >> shift) | (limb(q + 2) << (64 - shift));
}

// Payne and Hanek, for 2^20 < |x| < infinity: x = m * 2^e with an integer m
// of 53 bits times a window of 2/pi. The words of 2/pi ahead of the window
// only add multiples of 4 (whole turns); the seven words in it leave at least
// 191 bits after the binary point, so the truncated rest is below 2^-138 of a
// quarter turn while the fraction is never below about 2^-62.
inline Reduced reduce_large(double x) {
    constexpr int kWords = 7;
    const std::uint64_t u = bits_of(x);
    const int e = static_cast<int>((u >> 52) & 0x7ff) - 1075;
    const std::uint64_t m = (u & 0xFFFFFFFFFFFFFull) | (1ull << 52);
    const int first = e >= 2 ? (e - 2) / 32 : 0;

    // p = m * (words first .. first + kWords - 1), as 32-bit limbs.
    std::uint32_t p[kWords + 2] = {};
    const std::uint64_t halves[2] = {m & 0xFFFFFFFFu, m >> 32};
    for (int h = 0; h < 2; ++h) {
        std::uint64_t carry = 0;
        for (int k = 0; k < kWords; ++k) {
            const std::uint64_t t =
                kTwoOverPiBits[first + kWords - 1 - k] * halves[h] + p[k + h] + carry;
            p[k + h] = static_cast<std::uint32_t>(t);
            carry = t >> 32;
        }
        for (int k = kWords + h; k < kWords + 2; ++k) {
            const std::uint64_t t = p[k] + carry;
            p[k] = static_cast<std::uint32_t>(t);
            carry = t >> 32;
        }
    }

    // x * 2/pi = p * 2^-point: two bits of quadrant above the point, the
    // fraction in f0 f1 f2 below it.
    const int point = 32 * (first + kWords) - e;
    unsigned quadrant = static_cast<unsigned>(bit_window(p, kWords + 2, point)) & 3u;
    std::uint64_t f[3] = {bit_window(p, kWords + 2, point - 64),
                          bit_window(p, kWords + 2, point - 128),
                          bit_window(p, kWords + 2, point - 192)};
    bool toward_next = false;
    if (f[0] >> 63) {  // past half a quarter turn: measure back from the next multiple
        f[0] = ~f[0];
        f[1] = ~f[1];
        f[2] = ~f[2];
        if (++f[2] == 0 && ++f[1] == 0) ++f[0];
        ++quadrant;
        toward_next = true;
    }
    int zeros = 0;
    while (f[0] == 0 && zeros < 128) {
        f[0] = f[1];
        f[1] = f[2];
        f[2] = 0;
        zeros += 64;
    }
    while (!(f[0] >> 63) && zeros < 191) {
        f[0] = (f[0] << 1) | (f[1] >> 63);
        f[1] = (f[1] << 1) | (f[2] >> 63);
        f[2] <<= 1;
        ++zeros;
    }
    // The fraction to 106 bits as hi + lo (each part converts exactly), then
    // times pi/2 in double-double.
    const double hi = static_cast<double>(f[0] >> 11) * pow2(-53 - zeros);
    const double lo = static_cast<double>(((f[0] & 0x7FFu) << 42) | (f[1] >> 22)) * pow2(-106 - zeros);
    const Pair head = two_prod(hi, kPio2Hi);
    Pair r = fast_two_sum(head.hi, head.lo + (hi * kPio2Lo + lo * kPio2Hi));
    if (toward_next != (x < 0)) r = {-r.hi, -r.lo};
    if (x < 0) quadrant = 0u - quadrant;
    return {static_cast<int>(quadrant & 3u), r.hi, r.lo};
}

// x = n * pi/2 + r for finite x.
inline Reduced reduce_pio2(double x) {
    return (x < 0 ? -x : x) <= 0x1p20 ? reduce_medium(x) : reduce_large(x);
}

}  // namespace ftv::detmath::detail
