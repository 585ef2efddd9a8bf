#include "geometry/primitives.h"
#include "geometry_expect.h"
#include "geometry_test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace ftv {
namespace {

using test::bits;
using test::float_from;

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

void expect_same(const Vec3& actual, const Vec3& expected, const char* what) {
    test::expect_close(actual, expected, 0, what);
}

void expect_same(const Mat4& actual, const Mat4& expected, const char* what) {
    test::expect_close(actual, expected, 0, what);
}

TEST(Primitives, NormalizedAndNormalizeEdgeCases) {
    const float tiny = float_from(0x00200000);      // 2^-128: its reciprocal overflows a float
    const float above = float_from(0x00200001);     // the next float up: scaled normally
    struct Case {
        const char* what;
        Vec3 v;
        Vec3 normalized;     // what normalized gives
        float length;        // what normalize returns
        Vec3 normalized_in;  // what normalize leaves in v
    };
    const Case cases[] = {
        {"zero", {0, 0, 0}, {0, 0, 0}, 0.0f, {0, 0, 0}},
        {"3-4-5", {0, 3, 4}, {0, 0.6f, 0.8f}, 5.0f, {0, 0.6f, 0.8f}},
        // normalized tests the double length (positive); normalize the float
        // one, whose reciprocal is past the float range.
        {"1e-39", {1e-39f, 0, 0}, {1, 0, 0}, 0.0f, {1e-39f, 0, 0}},
        {"2^-128", {tiny, 0, 0}, {1, 0, 0}, 0.0f, {tiny, 0, 0}},
        {"just above 2^-128", {above, 0, 0}, {1, 0, 0}, above, {1, 0, 0}},
        {"NaN component", {kNaN, 1, 2}, {kNaN, 1, 2}, 0.0f, {kNaN, 1, 2}},
        // The float length overflows: the reciprocal of infinity zeroes v.
        {"beyond float range", {3e38f, 3e38f, 0}, {0.70710677f, 0.70710677f, 0}, kInf, {0, 0, 0}},
    };
    for (const Case& c : cases) {
        Vec3 out;
        normalized(c.v, out);
        expect_same(out, c.normalized, c.what);
        Vec3 v = c.v;
        EXPECT_EQ(bits(normalize(v)), bits(c.length)) << c.what;
        expect_same(v, c.normalized_in, c.what);
        // The result may be the operand itself.
        Vec3 alias = c.v;
        normalized(alias, alias);
        expect_same(alias, c.normalized, c.what);
    }
}

TEST(Primitives, TransformPointDividesByElement33Alone) {
    const Vec3 p{1, 2, 3};
    Mat4 moved = ftv::translation_matrix({10, 20, 30});
    Mat4 halved = moved;
    halved.m[3][3] = 2;
    Mat4 column3 = moved;  // column 3 is not a projective divisor
    column3.m[0][3] = column3.m[1][3] = column3.m[2][3] = 5;
    Mat4 singular = moved;
    singular.m[3][3] = 0;
    struct Case {
        const char* what;
        const Mat4* m;
        Vec3 expected;
    };
    const Case cases[] = {
        {"translation", &moved, {11, 22, 33}},
        {"m[3][3] = 2", &halved, {5.5f, 11, 16.5f}},
        {"column 3 set", &column3, {11, 22, 33}},
        {"m[3][3] = 0", &singular, {kInf, kInf, kInf}},
    };
    for (const Case& c : cases) {
        Vec3 out;
        transform_point(p, *c.m, out);
        expect_same(out, c.expected, c.what);
        Vec3 alias = p;
        transform_point(alias, *c.m, alias);
        expect_same(alias, c.expected, c.what);
    }
}

TEST(Primitives, MultiplyAppliesTheLeftFactorFirstAndAllowsAliasing) {
    const Mat4 a = test::compose({2, 3, 0.5f}, {0.1f, -0.2f, 0.3f}, {0.3f, 0.5f, -0.7f}, {4, 5, 6});
    const Mat4 b = test::compose({-1, 1.5f, 2}, {0.4f, 0, -0.6f}, {-1.1f, 0.2f, 2.5f}, {-7, 8, 1});
    Mat4 ab;
    multiply(a, b, ab);

    // p * (a * b) == (p * a) * b, to float rounding of the two paths.
    const Vec3 p{0.25f, -1.5f, 2};
    Vec3 through_product, through_a, through_both;
    transform_point(p, ab, through_product);
    transform_point(p, a, through_a);
    transform_point(through_a, b, through_both);
    test::expect_close(through_product, through_both, 1e-4f, "p * (a * b)");

    const Mat4 one = ftv::kIdentityMatrix;
    struct Case {
        const char* what;
        Mat4 left, right;
        bool write_over_left;
        Mat4 expected;
    };
    const Case cases[] = {
        {"over the left factor", a, b, true, ab},
        {"over the right factor", a, b, false, ab},
        {"identity on the left", one, b, false, b},
        {"identity on the right", a, one, true, a},
    };
    for (const Case& c : cases) {
        Mat4 left = c.left, right = c.right;
        Mat4& out = c.write_over_left ? left : right;
        multiply(left, right, out);
        expect_same(out, c.expected, c.what);
    }

    // transform_row is one row of the product, and may write over its operand.
    Vec4 row{a.m[2][0], a.m[2][1], a.m[2][2], a.m[2][3]};
    transform_row(row, b, row);
    const float got[4] = {row.x, row.y, row.z, row.w};
    for (int j = 0; j < 4; ++j) test::expect_close(got[j], ab.m[2][j], 0, "row 2 of a * b");
}

TEST(Primitives, AxisRotationTurnsRightHandedAboutTheUnitAxis) {
    const Mat4 quarter_z = {{{0, 1, 0, 0}, {-1, 0, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}};
    Mat4 r;
    axis_rotation({0, 0, 2}, 0, 1, r);  // the axis is made unit first
    expect_same(r, quarter_z, "quarter turn about (0, 0, 2)");

    axis_rotation({0, 0, 0}, 0.25f, 0.75f, r);  // no axis: c on the diagonal
    expect_same(r, {{{0.25f, 0, 0, 0}, {0, 0.25f, 0, 0}, {0, 0, 0.25f, 0}, {0, 0, 0, 1}}}, "no axis");

    // With c = cos 0.4 and s = sin 0.4, each axis carries the next unit
    // vector round by 0.4 radians, toward the one after.
    const float c = 0x1.d7954ep-1f, s = 0x1.8ec3aep-2f;  // cos 0.4f and sin 0.4f, rounded to float
    struct Case {
        Vec3 axis, from, to;
    };
    const Case cases[] = {
        {{0, 0, 1}, {1, 0, 0}, {c, s, 0}},
        {{1, 0, 0}, {0, 1, 0}, {0, c, s}},
        {{0, 1, 0}, {0, 0, 1}, {s, 0, c}},
        {{0, 0, -3}, {1, 0, 0}, {c, -s, 0}},
    };
    for (const Case& t : cases) {
        axis_rotation(t.axis, c, s, r);
        Vec3 out;
        transform_point(t.from, r, out);
        test::expect_close(out, t.to, 1e-7f, "about " + std::to_string(t.axis.x) + ", " + std::to_string(t.axis.y) +
                                                 ", " + std::to_string(t.axis.z));
    }
}

}  // namespace
}  // namespace ftv
