#include "geometry/det_math.h"
#include "geometry_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <iterator>
#include <limits>
#include <string>

namespace ftv {
namespace {

using test::bits;

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kPi = 3.141592653589793;
constexpr double kHalfPi = 1.5707963267948966;

enum class Fn { sin, cos, asin, atan2 };

double call(Fn f, double a, double b) {
    switch (f) {
        case Fn::sin: return detmath::sin(a);
        case Fn::cos: return detmath::cos(a);
        case Fn::asin: return detmath::asin(a);
        default: return detmath::atan2(a, b);
    }
}

// sincos shares one reduction between the two: it must give, bit for bit,
// what sin and cos give alone, in every quadrant and on both reductions.
struct SincosRange {
    const char* name;
    double lo, hi;
};

class DetMathSincos : public ::testing::TestWithParam<SincosRange> {};

TEST_P(DetMathSincos, GivesTheBitsOfSinAndCos) {
    const SincosRange& range = GetParam();
    const bool single = !(range.lo != range.hi);  // one value (NaN included)
    test::Rng rng(11);
    for (int n = 0; n < 20000; ++n) {
        const double x = single ? range.lo : rng.uniform(range.lo, range.hi);
        double s = 0, c = 0;
        detmath::sincos(x, s, c);
        const double want_s = detmath::sin(x), want_c = detmath::cos(x);
        if (std::isnan(want_s)) {
            ASSERT_TRUE(std::isnan(s) && std::isnan(c)) << x;
        } else {
            ASSERT_EQ(bits(s), bits(want_s)) << "sin " << x;
            ASSERT_EQ(bits(c), bits(want_c)) << "cos " << x;
        }
        if (single) break;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Ranges, DetMathSincos,
    ::testing::Values(SincosRange{"within_a_quarter_turn", -0.785, 0.785}, SincosRange{"one_turn", -7, 7},
                      SincosRange{"medium", -1e6, 1e6}, SincosRange{"large", 1e7, 1e300},
                      SincosRange{"negative_zero", -0.0, -0.0}, SincosRange{"tiny", 1e-300, 1e-300},
                      SincosRange{"pi", kPi, kPi}, SincosRange{"half_pi", -kHalfPi, -kHalfPi},
                      SincosRange{"infinity", -kInf, -kInf}, SincosRange{"nan", kNaN, kNaN}),
    [](const ::testing::TestParamInfo<SincosRange>& info) { return std::string(info.param.name); });

// Exact results, signed zeros included. The reduction cases are the correctly
// rounded values for the double nearest pi, pi/2 and 1e22 and for the largest
// double.
TEST(DetMath, SpecialValues) {
    struct Case {
        const char* what;
        Fn f;
        double a, b, expected;
    };
    const Case cases[] = {
        {"atan2(-0, -1)", Fn::atan2, -0.0, -1, -kPi},
        {"atan2(+0, -1)", Fn::atan2, 0.0, -1, kPi},
        {"atan2(+0, -0)", Fn::atan2, 0.0, -0.0, kPi},
        {"atan2(-0, -0)", Fn::atan2, -0.0, -0.0, -kPi},
        {"atan2(+0, +0)", Fn::atan2, 0.0, 0.0, 0.0},
        {"atan2(-0, +0)", Fn::atan2, -0.0, 0.0, -0.0},
        {"atan2(-0, 1)", Fn::atan2, -0.0, 1, -0.0},
        {"atan2(1, -0)", Fn::atan2, 1, -0.0, kHalfPi},
        {"atan2(-2, 0)", Fn::atan2, -2, 0.0, -kHalfPi},
        {"atan2(inf, inf)", Fn::atan2, kInf, kInf, kPi / 4},
        {"atan2(-inf, -inf)", Fn::atan2, -kInf, -kInf, -0x1.2d97c7f3321d2p1},
        {"atan2(-1, -inf)", Fn::atan2, -1, -kInf, -kPi},
        {"atan2(1, inf)", Fn::atan2, 1, kInf, 0.0},
        {"atan2(inf, -5)", Fn::atan2, kInf, -5, kHalfPi},
        {"atan2(1, 1)", Fn::atan2, 1, 1, kPi / 4},
        {"atan2(-1e300, 1e-300)", Fn::atan2, -1e300, 1e-300, -kHalfPi},
        {"atan2(1e-300, -1e300)", Fn::atan2, 1e-300, -1e300, kPi},
        {"atan2(NaN, 1)", Fn::atan2, kNaN, 1, kNaN},
        {"atan2(1, NaN)", Fn::atan2, 1, kNaN, kNaN},
        {"asin(1)", Fn::asin, 1, 0, kHalfPi},
        {"asin(-1)", Fn::asin, -1, 0, -kHalfPi},
        {"asin(-0)", Fn::asin, -0.0, 0, -0.0},
        {"asin(0.5)", Fn::asin, 0.5, 0, 0x1.0c152382d7366p-1},
        {"asin(1 + ulp)", Fn::asin, 0x1.0000000000001p0, 0, kNaN},
        {"asin(-inf)", Fn::asin, -kInf, 0, kNaN},
        {"sin(-0)", Fn::sin, -0.0, 0, -0.0},
        {"sin(pi)", Fn::sin, kPi, 0, 0x1.1a62633145c07p-53},
        {"cos(pi/2)", Fn::cos, kHalfPi, 0, 0x1.1a62633145c07p-54},
        {"sin(1e22)", Fn::sin, 1e22, 0, -0x1.b453ab76bf397p-1},
        {"sin(max double)", Fn::sin, std::numeric_limits<double>::max(), 0, 0x1.452fc98b34e97p-8},
        {"cos(-0)", Fn::cos, -0.0, 0, 1},
        {"sin(inf)", Fn::sin, kInf, 0, kNaN},
        {"cos(-inf)", Fn::cos, -kInf, 0, kNaN},
        {"cos(NaN)", Fn::cos, kNaN, 0, kNaN},
    };
    for (const Case& c : cases) {
        const double r = call(c.f, c.a, c.b);
        if (std::isnan(c.expected)) {
            EXPECT_TRUE(std::isnan(r)) << c.what << " = " << r;
        } else {
            EXPECT_EQ(bits(r), bits(c.expected)) << c.what << " = " << r;
        }
    }
    // The float values the geometry stores.
    EXPECT_EQ(bits(static_cast<float>(detmath::asin(1))), 0x3FC90FDBu);         // 1.5707964
    EXPECT_EQ(bits(static_cast<float>(detmath::atan2(-0.0, -1))), 0xC0490FDBu);  // -pi
}

// Every build against exact values: the error of each result in ulps of the
// exact value, which a double-double (hi + lo) carries to well below 2^-100
// relative. (ours - hi) is exact, the two being within a factor of two.
struct Range {
    Fn f;
    const char* name;
};

const Range kRanges[] = {
#define FTV_RANGE(fn, name) {Fn::fn, name},
#define FTV_SAMPLE(range, a, b, hi, lo)
#include "data/det_math_references.inc"
#undef FTV_RANGE
#undef FTV_SAMPLE
};

struct Reference {
    int range;
    double a, b, hi, lo;
};

const Reference kReferences[] = {
#define FTV_RANGE(fn, name)
#define FTV_SAMPLE(range, a, b, hi, lo) {range, a, b, hi, lo},
#include "data/det_math_references.inc"
#undef FTV_RANGE
#undef FTV_SAMPLE
};

// The unit in the last place of doubles in hi's binade, from its bits alone.
double ulp_of(double hi) {
    const int exponent = static_cast<int>((bits(hi) >> 52) & 0x7FF);
    return test::double_from(static_cast<std::uint64_t>(std::max(exponent - 52, 1)) << 52);
}

// The accuracy the header states: below 0.8 ulp, so every result is one of
// the two doubles around the exact value (faithful), and rounded to float it
// is the correctly rounded float except within 0.8 ulp of double of a float
// rounding boundary.
constexpr double kStatedUlps = 0.8;

class DetMathAccuracy : public ::testing::TestWithParam<int> {};

TEST_P(DetMathAccuracy, WithinTheStatedErrorOfTheExactValue) {
    const Range& range = kRanges[GetParam()];
    int samples = 0, correctly_rounded = 0;
    double worst = 0;
    for (const Reference& r : kReferences) {
        if (r.range != GetParam()) continue;
        const double ours = call(range.f, r.a, r.b);
        const double error = std::fabs((ours - r.hi) - r.lo) / ulp_of(r.hi);
        ++samples;
        correctly_rounded += bits(ours) == bits(r.hi);
        worst = std::max(worst, error);
        EXPECT_LT(error, kStatedUlps) << range.name << ": " << std::hexfloat << r.a << ", " << r.b << " gives "
                                      << ours << ", exactly " << r.hi << " + " << r.lo;
    }
    ASSERT_GE(samples, 100) << "the reference table lacks " << range.name;
    std::printf("%-26s %3d samples, %6.2f%% correctly rounded, at most %.3f ulp\n", range.name, samples,
                100.0 * correctly_rounded / samples, worst);
}

INSTANTIATE_TEST_SUITE_P(References, DetMathAccuracy,
                         ::testing::Range(0, static_cast<int>(std::size(kRanges))),
                         [](const ::testing::TestParamInfo<int>& info) {
                             // "sin, [-pi, pi]" becomes "sin_pi_pi".
                             std::string name;
                             for (const char* c = kRanges[info.param].name; *c != '\0'; ++c) {
                                 if (std::isalnum(static_cast<unsigned char>(*c))) {
                                     name += *c;
                                 } else if (!name.empty() && name.back() != '_') {
                                     name += '_';
                                 }
                             }
                             if (name.back() == '_') name.pop_back();
                             return name;
                         });

#if !defined(_WIN32)
// Against glibc, whose sin, cos, asin and atan2 are documented to stay within
// an ulp on x86-64: many more arguments than the table holds, to catch a
// fault between its samples. Each side is within about 1 ulp of the exact
// value, so the two differ by at most 2 ulp. (Windows' C library is not held
// to any such bound, and its sin depends on how the processor is reached.)
double call_libm(Fn f, double a, double b) {
    switch (f) {
        case Fn::sin: return std::sin(a);
        case Fn::cos: return std::cos(a);
        case Fn::asin: return std::asin(a);
        default: return std::atan2(a, b);
    }
}

// Distance in ulps between two finite doubles of either sign.
std::uint64_t ulps_apart(double a, double b) {
    // Map the bit patterns onto a line that runs through -0 = +0 in order.
    const auto ordered = [](double v) {
        const std::uint64_t u = bits(v);
        return u >> 63 ? 0x8000000000000000ull - (u & 0x7FFFFFFFFFFFFFFFull) : 0x8000000000000000ull + u;
    };
    const std::uint64_t x = ordered(a), y = ordered(b);
    return x > y ? x - y : y - x;
}

TEST(DetMath, AgreesWithGlibc) {
    test::Rng rng(7);
    const auto log_uniform = [&](double lo_exp, double hi_exp) {
        const double v = std::exp2(rng.uniform(lo_exp, hi_exp));
        return rng.next() & 1 ? v : -v;
    };
    struct Sample {
        double a, b;
    };
    struct Draw {
        const char* what;
        Fn f;
        std::function<Sample()> draw;
    };
    const Draw draws[] = {
        {"sin, [-1000, 1000]", Fn::sin, [&] { return Sample{rng.uniform(-1000, 1000), 0}; }},
        {"cos, [-1000, 1000]", Fn::cos, [&] { return Sample{rng.uniform(-1000, 1000), 0}; }},
        {"sin, 2^-30 to 2^1020", Fn::sin, [&] { return Sample{log_uniform(-30, 1020), 0}; }},
        {"cos, 2^-30 to 2^1020", Fn::cos, [&] { return Sample{log_uniform(-30, 1020), 0}; }},
        {"asin, [-1, 1]", Fn::asin, [&] { return Sample{rng.uniform(-1, 1), 0}; }},
        {"asin, next to +-1", Fn::asin, [&] { return Sample{1 - std::fabs(log_uniform(-53, -1)), 0}; }},
        {"atan2, floats in [-1, 1]", Fn::atan2,
         [&] { return Sample{float(rng.uniform(-1, 1)), float(rng.uniform(-1, 1))}; }},
        {"atan2, 2^-80 to 2^80", Fn::atan2, [&] { return Sample{log_uniform(-80, 80), log_uniform(-80, 80)}; }},
    };
    constexpr int kSamples = 200000;
    for (const Draw& d : draws) {
        for (int n = 0; n < kSamples; ++n) {
            const Sample s = d.draw();
            const double ours = call(d.f, s.a, s.b), theirs = call_libm(d.f, s.a, s.b);
            ASSERT_LE(ulps_apart(ours, theirs), 2u) << d.what << ": " << s.a << ", " << s.b << " gives " << ours
                                                    << " vs " << theirs;
        }
    }
}
#endif

}  // namespace
}  // namespace ftv
