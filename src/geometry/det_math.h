// Deterministic double-precision sin, cos, asin and atan2.
//
// The C libraries disagree in the last bit (glibc's and msvcrt's asin, atan2,
// sin and cos are different code), and the geometry must give the same float
// bits on Linux and on 32-bit Windows. These use only +, -, *, / and sqrt,
// each correctly rounded by IEEE 754, plus exact bit manipulation, so they
// give identical results wherever doubles are SSE2 doubles and no fused
// multiply-add is formed: compile every includer with -ffp-contract=off and,
// on i686, -msse2 -mfpmath=sse (checked below where it can be).
//
// Accuracy: below 0.8 ulp. Every build checks it against exact values
// (tests/geometry/det_math_test.cpp, with 6,400 arguments from 2^-80 to
// 2^1020 and their values at 1400 bits): the largest errors there are 0.70 ulp
// (sin and cos), 0.75 (asin) and 0.58 (atan2), 77 to 100% of results
// correctly rounded; an earlier run on 90,000 arguments in [-3.2, 3.2] and
// [-1, 1] found 0.78 at most. The native build also holds them to within 2
// ulp of glibc on 1.6 million arguments. Rounded to float they are the
// correctly rounded float except where the exact value lies within 0.8 ulp of
// double of a float rounding boundary, about one argument in 2^28.
//
// Special values follow C99 Annex F (the IEEE 754 recommendations): signed
// zeros are kept (sin(-0) = -0, asin(-0) = -0, atan2(-0, -1) = -pi,
// atan2(+0, -0) = +pi, atan2(-0, +0) = -0), asin(+-1) = +-pi/2, asin of |x| > 1
// is NaN, sin and cos of an infinity are NaN, a NaN argument gives a NaN.
//
// Header only, so that the geometry's translation units link on their own.
#pragma once

#include "det_math_ops.h"
#include "det_math_reduce.h"
#include "det_math_tables.h"

#include <cmath>

namespace ftv::detmath {

namespace detail {

// sin(x + y) for |x| <= 0.786 and |y| <= ulp(x): the odd polynomial, plus
// y * cos(x) taken as y * (1 - x^2/2).
inline double sin_kernel(double x, double y) {
    const double z = x * x;
    const double v = z * x;
    const double r = kSin[1] + z * (kSin[2] + z * (kSin[3] + z * (kSin[4] + z * kSin[5])));
    return x - ((z * (0.5 * y - v * r) - y) - v * kSin[0]);
}

// cos(x + y) for |x| <= 0.786 and |y| <= ulp(x). 1 - x^2/2 is formed as w plus
// its exact rounding error, so that the large leading terms lose nothing.
inline double cos_kernel(double x, double y) {
    const double z = x * x;
    const double r = z * horner(z, kCos);
    const double hz = 0.5 * z;
    const double w = 1.0 - hz;
    return w + (((1.0 - w) - hz) + (z * r - x * y));
}

// atan(x + dx) as hi + lo, for x >= 0 (or +infinity) and |dx| <= ulp(x). Away
// from 0 the argument is moved next to 1/2, 1, 3/2 or infinity,
// atan(x) = atan(c) + atan((x - c) / (1 + c x)), with the quotient's rounding
// error recovered and carried along; dx enters through atan' = 1 / (1 + x^2).
inline Pair atan_positive(double x, double dx) {
    if (x >= 0x1p66) return {kPio2Hi, kPio2Lo};
    if (x < 0x1p-27) return fast_two_sum(x, dx);  // atan x = x within 2^-55 x
    double base_hi = 0.0, base_lo = 0.0, t = x, t_lo = 0.0;
    if (x >= 0.4375) {
        double num;  // t = num / (den.hi + den.lo), num exact by Sterbenz's lemma
        Pair den;
        if (x < 0.6875) {
            base_hi = kAtanHalfHi, base_lo = kAtanHalfLo;
            num = 2.0 * x - 1.0;
            den = two_sum(2.0, x);
        } else if (x < 1.1875) {
            base_hi = kPio4, base_lo = kPio2Lo * 0.5;
            num = x - 1.0;
            den = two_sum(x, 1.0);
        } else if (x < 2.4375) {
            base_hi = kAtanThreeHalvesHi, base_lo = kAtanThreeHalvesLo;
            num = 2.0 * x - 3.0;
            const Pair three_x = two_prod(3.0, x);
            den = two_sum(2.0, three_x.hi);
            den.lo += three_x.lo;
        } else {
            base_hi = kPio2Hi, base_lo = kPio2Lo;
            num = -1.0;
            den = {x, 0.0};
        }
        t = num / den.hi;
        const Pair q = two_prod(t, den.hi);
        t_lo = ((num - q.hi) - q.lo - t * den.lo) / den.hi;
    }
    const double z = t * t;
    const double poly = t * z * horner(z, kAtan);
    const double small = poly + (t_lo / (1.0 + z) + (base_lo + dx / (1.0 + x * x)));
    const Pair head = two_sum(base_hi, t);
    return fast_two_sum(head.hi, head.lo + small);
}

}  // namespace detail

// sin x for any double x.
inline double sin(double x) {
    using namespace detail;
    const double ax = std::fabs(x);
    if (ax <= kPio4) return ax < 0x1p-27 ? x : sin_kernel(x, 0.0);
    if (!(ax < INFINITY)) return x - x;
    const Reduced r = reduce_pio2(x);
    switch (r.quadrant) {
        case 0: return sin_kernel(r.hi, r.lo);
        case 1: return cos_kernel(r.hi, r.lo);
        case 2: return -sin_kernel(r.hi, r.lo);
        default: return -cos_kernel(r.hi, r.lo);
    }
}

// cos x for any double x.
inline double cos(double x) {
    using namespace detail;
    const double ax = std::fabs(x);
    if (ax <= kPio4) return ax < 0x1p-27 ? 1.0 : cos_kernel(x, 0.0);
    if (!(ax < INFINITY)) return x - x;
    const Reduced r = reduce_pio2(x);
    switch (r.quadrant) {
        case 0: return cos_kernel(r.hi, r.lo);
        case 1: return -sin_kernel(r.hi, r.lo);
        case 2: return -cos_kernel(r.hi, r.lo);
        default: return sin_kernel(r.hi, r.lo);
    }
}

// sin x and cos x with one reduction: the bits of sin(x) and cos(x) above.
// Both kernels run and the quadrant picks between them without a branch,
// which random angles would mispredict.
inline void sincos(double x, double& sine, double& cosine) {
    using namespace detail;
    const double ax = std::fabs(x);
    if (ax <= kPio4) {
        if (ax < 0x1p-27) {
            sine = x, cosine = 1.0;
        } else {
            sine = sin_kernel(x, 0.0), cosine = cos_kernel(x, 0.0);
        }
        return;
    }
    if (!(ax < INFINITY)) {
        sine = cosine = x - x;
        return;
    }
    const Reduced r = reduce_pio2(x);
    const double s = sin_kernel(r.hi, r.lo);
    const double c = cos_kernel(r.hi, r.lo);
    // Quadrants 0 to 3: sin is s, c, -s, -c and cos is c, -s, -c, s.
    const bool odd = (r.quadrant & 1) != 0;
    const double a = odd ? c : s;
    const double b = odd ? s : c;
    sine = (r.quadrant & 2) != 0 ? -a : a;
    cosine = ((r.quadrant + 1) & 2) != 0 ? -b : b;
}

// asin x in [-pi/2, pi/2]; NaN outside [-1, 1].
inline double asin(double x) {
    using namespace detail;
    const double ax = std::fabs(x);
    if (ax < 0.5) {
        if (ax < 0x1p-27) return x;  // asin x = x within 2^-55 x
        const double z = x * x;
        return x + x * (z * horner(z, kAsin));
    }
    if (ax == 1.0) return x > 0 ? kPio2Hi : -kPio2Hi;
    if (!(ax < 1.0)) return (x - x) / (x - x);
    // asin|x| = pi/2 - 2 asin(s) with s = sqrt((1 - |x|) / 2) <= 1/2. s is
    // split as w + c, w its upper 26 bits and c recovered from the exact
    // t - w^2, so that doubling s loses nothing near |x| = 1/2.
    const double t = (1.0 - ax) * 0.5;
    const double s = std::sqrt(t);
    const double w = split(s).hi;
    const double c = (t - w * w) / (s + w);
    const double r = t * horner(t, kAsin);  // asin s = s + s r
    const double p = 2.0 * s * r - (kPio2Lo - 2.0 * c);
    const double q = kPio4 - 2.0 * w;
    const double result = kPio4 - (p - q);
    return x > 0 ? result : -result;
}

// atan2(y, x) in [-pi, pi], the angle of the point (x, y).
inline double atan2(double y, double x) {
    using namespace detail;
    if (std::isnan(x) || std::isnan(y)) return x + y;
    const double ax = std::fabs(x);
    const double ay = std::fabs(y);
    const bool left = std::signbit(x);  // -0 counts as the negative side
    double angle;                       // atan2(|y|, x), in [0, pi]
    if (ay == 0.0) {
        angle = left ? kPiHi : 0.0;
    } else if (ax == INFINITY) {
        angle = ay == INFINITY ? (left ? k3Pio4 : kPio4) : (left ? kPiHi : 0.0);
    } else if (ay == INFINITY || ax == 0.0) {
        angle = kPio2Hi;
    } else {
        const int ey = exponent_of(ay);
        const int ex = exponent_of(ax);
        Pair a;  // atan(|y| / |x|)
        if (ey - ex > 60) {
            a = {kPio2Hi, kPio2Lo};  // the quotient's reciprocal is below half an ulp
        } else if (ey - ex < -60 && left) {
            a = {0.0, 0.0};  // vanishes against pi
        } else {
            const double q = ay / ax;
            double dq = 0.0;  // the quotient's rounding error, where two_prod is exact
            if (ex > -900 && ex < 900 && ey > -900 && ey < 900) {
                const Pair qx = two_prod(q, ax);
                dq = ((ay - qx.hi) - qx.lo) / ax;
            }
            a = atan_positive(q, dq);
        }
        if (left) {
            const Pair d = two_sum(kPiHi, -a.hi);
            angle = d.hi + (d.lo + (kPiLo - a.lo));
        } else {
            angle = a.hi;
        }
    }
    return std::signbit(y) ? -angle : angle;
}

}  // namespace ftv::detmath
