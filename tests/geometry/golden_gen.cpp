// Writes the table of inputs and outputs (data/golden_table.inc) that
// golden_test.cpp compares every build against:
//
//   geometry_golden_gen > tests/geometry/data/golden_table.inc
//
// Run it natively, and only when a change of results is intended: the table
// is what the Windows build is held to.
#include "golden_ops.h"
#include "geometry_test_support.h"

#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <limits>

namespace ftv::test {
namespace {

constexpr float kInfF = std::numeric_limits<float>::infinity();
constexpr float kNaNF = std::numeric_limits<float>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kRightAngle = 1.5707963267948966;

Rng rng(0x5EED);

void emit(const char* op, const Words& in) {
    const Words out = run_golden(op, in);
    std::printf("{\"%s\", {", op);
    for (std::size_t i = 0; i < in.size(); ++i) std::printf("%s0x%" PRIX64, i ? ", " : "", in[i]);
    std::printf("}, {");
    for (std::size_t i = 0; i < out.size(); ++i) std::printf("%s0x%" PRIX64, i ? ", " : "", out[i]);
    std::printf("}},\n");
}

void add(Words& w, float v) { w.push_back(bits(v)); }
void add(Words& w, const Vec3& v) { add(w, v.x), add(w, v.y), add(w, v.z); }
void add(Words& w, const Mat4& m) {
    for (const auto& row : m.m)
        for (float e : row) add(w, e);
}
template <class... T>
Words words(const T&... parts) {
    Words w;
    (add(w, parts), ...);
    return w;
}

float any(double lo, double hi) { return static_cast<float>(rng.uniform(lo, hi)); }
Vec3 any3(double lo, double hi) { return {any(lo, hi), any(lo, hi), any(lo, hi)}; }

// Each draw in a statement of its own: the order in which a call's arguments
// are evaluated differs between compilers, and so would the table.
Mat4 any_composed() {
    const Vec3 scale{any(0.1, 5) * (rng.next() & 1 ? -1 : 1), any(0.1, 5), any(0.1, 5) * (rng.next() & 1 ? -1 : 1)};
    const Vec3 shear = any3(-1, 1);
    const Vec3 angles = any3(-3.14, 3.14);
    return compose(scale, shear, angles, any3(-50, 50));
}

Mat4 any_raw() {
    Mat4 m;
    for (auto& row : m.m)
        for (float& e : row) e = any(-10, 10);
    return m;
}

void vectors() {
    const float tiny = float_from(0x00200000);  // 2^-128
    const Vec3 edge[] = {{0, 0, 0},          {-0.0f, 0, -0.0f}, {0, 3, 4},         {1e-39f, 0, 0},
                         {tiny, 0, 0},       {tiny, tiny, 0},   {3e38f, 3e38f, 0}, {kNaNF, 1, 2},
                         {kInfF, 0, 0},      {1e-45f, 0, 0},    {-1, -1, -1},      {1e-20f, 1e-20f, 1e-20f},
                         {1e20f, -1e20f, 1}, {0.1f, 0.2f, 0.3f}};
    for (const Vec3& v : edge) emit("normalized", words(v)), emit("normalize", words(v));
    for (int n = 0; n < 24; ++n) {
        const Vec3 v = any3(-1, 1);
        const float k = static_cast<float>(std::exp2(rng.uniform(-60, 60)));
        const Vec3 scaled{v.x * k, v.y * k, v.z * k};
        emit("normalized", words(scaled)), emit("normalize", words(scaled));
    }
}

void matrices() {
    const float w33[] = {1, 2, 0.5f, -1, 0, kNaNF, 3.7f};
    for (int n = 0; n < 28; ++n) {
        Mat4 m = n % 2 ? any_composed() : any_raw();
        m.m[3][3] = w33[n % 7];
        emit("transform_point", words(any3(-100, 100), m));
    }
    for (int n = 0; n < 16; ++n) {
        const float w = any(-5, 5);
        const Vec3 xyz = any3(-5, 5);
        emit("transform_row", words(w, xyz, n % 2 ? any_composed() : any_raw()));
    }
    for (int n = 0; n < 24; ++n) {
        const Mat4 a = n % 3 ? any_composed() : any_raw();
        emit("multiply", words(a, n % 2 ? any_composed() : any_raw()));
    }

    struct Axis {
        Vec3 axis;
        float c, s;
    };
    const Axis edge[] = {{{0, 0, 2}, 0, 1}, {{0, 0, 0}, 0.25f, 0.75f}, {{1e-30f, 0, 0}, 0.5f, 0.8660254f},
                         {{kNaNF, 0, 1}, 1, 0}, {{3e38f, 3e38f, 3e38f}, -1, 0}};
    for (const Axis& a : edge) emit("axis_rotation", words(a.axis, a.c, a.s));
    for (int n = 0; n < 24; ++n) {
        const double angle = rng.uniform(-7, 7);
        emit("axis_rotation", words(any3(-3, 3), static_cast<float>(detmath::cos(angle)),
                                    static_cast<float>(detmath::sin(angle))));
    }
}

void decompositions() {
    Mat4 halved = {{{2, 0, 0, 0}, {0, 2, 0, 0}, {0, 0, 2, 0}, {10, 12, 14, 2}}};
    Mat4 sheared = kIdentityMatrix;
    sheared.m[1][0] = 0.5f;
    Mat4 column3 = translation_matrix({7, 8, 9});
    column3.m[0][3] = column3.m[1][3] = column3.m[2][3] = 1;
    Mat4 singular = any_composed();
    singular.m[3][3] = 0;
    Mat4 flat = any_composed();
    flat.m[1][0] = flat.m[1][1] = flat.m[1][2] = 0;
    Mat4 nan = any_composed();
    nan.m[2][1] = kNaNF;
    const Mat4 edge[] = {kIdentityMatrix,
                         compose({2, 3, 0.5f}, {0, 0, 0}, {0.3f, 0.5f, -0.7f}, {4, 5, 6}),
                         halved,
                         sheared,
                         scaling({-1, 1, 1}),
                         scaling({-1, -1, 1}),
                         euler(0.3, kRightAngle, 0.2),
                         euler(0.3, -kRightAngle, 0.2),
                         euler(0.3, 89.99 * kRightAngle / 90, 0.2),
                         euler(0.3, -89.99 * kRightAngle / 90, 0.2),
                         euler(0.3, 89.9 * kRightAngle / 90, 0.2),
                         column3,
                         singular,
                         flat,
                         nan,
                         scaling({0, 0, 0})};
    for (const Mat4& m : edge) emit("decompose", words(m));
    for (int n = 0; n < 64; ++n) emit("decompose", words(any_composed()));
    for (int n = 0; n < 16; ++n) emit("decompose", words(any_raw()));
    for (int n = 0; n < 16; ++n) {
        const float x = any(-3, 3);
        Mat4 m = euler(x, n % 2 ? kRightAngle : -kRightAngle, any(-3, 3));
        multiply(scaling(any3(0.5, 2)), m, m);
        emit("decompose", words(m));
    }
}

void emit_double(const char* op, double a) { emit(op, {bits(a)}); }

void trigonometry() {
    const double edge[] = {0.0,  -0.0,  1e-300, -0x1p-30, 0.5,       3.141592653589793, 1.5707963267948966,
                           1e22, -1e22, 0x1p20, 0x1.0000000000001p20, 1e300, std::numeric_limits<double>::max(),
                           kInf, -kInf, kNaN,   6381956970095103.0 * 0x1p797};
    for (double x : edge) emit_double("sin", x), emit_double("cos", x);
    for (int n = 0; n < 64; ++n) {
        // Both reductions: below 2^20 and, from n = 48 on, up to 2^1000.
        const double x = n < 32 ? rng.uniform(-7, 7) : n < 48 ? rng.uniform(-1e6, 1e6) : std::exp2(rng.uniform(20, 1000));
        emit_double("sin", x), emit_double("cos", x);
    }

    const double asin_edge[] = {0.0, -0.0, 1, -1, 0.5, -0.5, 0x1.fffffffffffffp-1, 1e-20, 1.0000000000000002, kNaN, -kInf};
    for (double x : asin_edge) emit_double("asin", x);
    for (int n = 0; n < 40; ++n) emit_double("asin", n % 2 ? rng.uniform(-1, 1) : 1 - std::exp2(rng.uniform(-50, -1)));

    const double atan2_edge[][2] = {{0.0, -1},   {-0.0, -1},   {0.0, 0.0},  {-0.0, 0.0},    {0.0, -0.0}, {-0.0, -0.0},
                                    {1, 0.0},    {-1, -0.0},   {kInf, kInf}, {-kInf, -kInf}, {1, -kInf},  {-1, kInf},
                                    {kNaN, 1},   {1, kNaN},    {1e300, 1e-300}, {1e-300, -1e300}, {1, 1}, {-1, -1}};
    for (const auto& p : atan2_edge) emit("atan2", {bits(p[0]), bits(p[1])});
    for (int n = 0; n < 48; ++n) {
        const double y = n % 2 ? rng.uniform(-1, 1) : any(-1, 1);
        const double x = n % 2 ? rng.uniform(-1, 1) : any(-1, 1);
        emit("atan2", {bits(y), bits(x)});
    }
}

// The draws of a table since retired (the turn about the vertical alone), so
// that the records after it stay as they were.
void retired_draws() {
    for (int n = 0; n < 24; ++n) any3(-1, 1);
}

// The face-the-camera chain: a part's matrix, its pivot and the eye; the
// host's turn (here any rotation, or any matrix), the pivot and the angles.
void facing() {
    const Vec3 zero{0, 0, 0};
    const Vec3 signed_zero{-0.0f, 0, -0.0f};
    const Vec3 huge{kInfF, 1, 2};
    const Vec3 nan{1, kNaNF, 2};
    for (const Vec3& pivot : {zero, signed_zero, huge, nan}) {
        emit("direction_to_eye", words(kIdentityMatrix, pivot, Vec3{0, 0, 10}));
        emit("facing_transform", words(pivot, kIdentityMatrix, Vec3{0.3f, -0.0f, 3.1f}));
    }
    emit("direction_to_eye", words(kIdentityMatrix, Vec3{1, 2, 3}, Vec3{1, 2, 3}));  // eye at the pivot
    for (int n = 0; n < 32; ++n) {
        const Mat4 m = n % 4 ? any_composed() : any_raw();
        const Vec3 pivot = any3(-50, 50);
        emit("direction_to_eye", words(m, pivot, any3(-500, 500)));
    }
    for (int n = 0; n < 32; ++n) {
        const Vec3 pivot = any3(-50, 50);
        const Vec3 turned = any3(-3.2, 3.2);
        const Mat4 turn = n % 4 ? euler(turned) : any_raw();
        emit("facing_transform", words(pivot, turn, any3(-3.2, 3.2)));
    }
}

// The exact turns: frames of every kind, pivots, directions, both aims (0
// face, 1 upright), and the cases without a sound turn.
void exact_facings() {
    Mat4 flat = any_composed();
    flat.m[2][0] = flat.m[0][0], flat.m[2][1] = flat.m[0][1], flat.m[2][2] = flat.m[0][2];
    Mat4 no_w = any_composed();
    no_w.m[3][3] = 0;
    Mat4 negative_w = any_composed();
    negative_w.m[3][3] = -2;
    Mat4 nan = any_composed();
    nan.m[1][2] = kNaNF;
    const Mat4 frames[] = {kIdentityMatrix, euler(0.3, kRightAngle, 0.2), euler(kRightAngle, 0, kRightAngle),
                           scaling({-1, 1, 1}), scaling({1e-20f, 1e20f, 1}), flat, no_w, negative_w, nan};
    const Vec3 directions[] = {{0, 0, 0}, {0, 5, 0}, {-0.0f, -2, 0}, {1e-30f, 1, 0}, {3, -4, 12}, {kNaNF, 0, 1},
                               {kInfF, 1, 1}};
    for (const Mat4& frame : frames)
        for (const Vec3& direction : directions)
            for (float aim : {0.0f, 1.0f}) emit("exact_facing", words(frame, Vec3{1, -2, 3}, direction, aim));
    emit("exact_facing", words(kIdentityMatrix, Vec3{3e38f, -3e38f, 3e38f}, Vec3{1, 1, 1}, 0.0f));  // overflow
    for (int n = 0; n < 48; ++n) {
        const Mat4 frame = n % 4 ? any_composed() : any_raw();
        const Vec3 pivot = any3(-50, 50);
        const Vec3 direction = any3(-500, 500);
        emit("exact_facing", words(frame, pivot, direction, static_cast<float>(n % 2)));
    }
}

}  // namespace
}  // namespace ftv::test

int main() {
    using namespace ftv::test;
    std::printf("// Generated by geometry_golden_gen (tests/geometry/golden_gen.cpp): do not edit.\n");
    std::printf("// {operation, input bit patterns, output bit patterns}\n");
    vectors();
    matrices();
    decompositions();
    trigonometry();
    retired_draws();
    facing();
    exact_facings();  // last, so that the draws of the others stay as they were
    return 0;
}
