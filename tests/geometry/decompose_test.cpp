#include "geometry/decompose.h"
#include "geometry_expect.h"
#include "geometry_test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace ftv {
namespace {

using test::bits;
using test::expect_close;

constexpr float kPi = 3.14159265358979f;   // the float nearest pi
constexpr float kHalfPi = 1.5707964f;      // the float nearest pi/2
constexpr double kRightAngle = 1.5707963267948966;

struct Parts {
    Vec3 translation, scale, shear, rotation;
};

Parts decomposed(const Mat4& m) {
    Parts p;
    decompose(m, &p.translation, &p.scale, &p.shear, &p.rotation);
    return p;
}

Mat4 with_rows(const Mat4& m, int row, float x, float y, float z, float w) {
    Mat4 r = m;
    r.m[row][0] = x, r.m[row][1] = y, r.m[row][2] = z, r.m[row][3] = w;
    return r;
}

TEST(Decompose, EdgeCases) {
    const Mat4 one = ftv::kIdentityMatrix;
    // Ry(89.99 degrees): its sine rounds to 1 as a float, so the unit row 0
    // has z = -1 exactly and the X and Z turns merge (0.3 - 0.2 into X).
    const double near_right = 89.99 * kRightAngle / 90;
    struct Case {
        const char* what;
        Mat4 m;
        Parts expected;
        float tolerance[4];  // per part; 0 means the same bits. Scales within 2 float
                             // ulps of 1 and shears of float rounding where inexact.
    };
    const Case cases[] = {
        // The Y angle is asin(-0) = -0.
        {"identity", one, {{0, 0, 0}, {1, 1, 1}, {0, 0, 0}, {0, -0.0f, 0}}, {0, 0, 0, 0}},
        // Shears of the order of 1e-8 from float rounding; angles within 2 ulp.
        {"scaled and turned",
         test::compose({2, 3, 0.5f}, {0, 0, 0}, {0.3f, 0.5f, -0.7f}, {4, 5, 6}),
         {{4, 5, 6}, {2, 3, 0.5f}, {0, 0, 0}, {0.3f, 0.5f, -0.7f}},
         {0, 5e-7f, 1e-7f, 1.2e-7f}},
        {"divided by m[3][3]",
         with_rows({{{2, 0, 0, 0}, {0, 2, 0, 0}, {0, 0, 2, 0}, {0, 0, 0, 0}}}, 3, 10, 12, 14, 2),
         {{5, 6, 7}, {1, 1, 1}, {0, 0, 0}, {0, -0.0f, 0}},
         {0, 0, 0, 0}},
        {"shear XY", with_rows(one, 1, 0.5f, 1, 0, 0), {{0, 0, 0}, {1, 1, 1}, {0, 0, 0.5f}, {0, -0.0f, 0}}, {0, 0, 0, 0}},
        // The flip makes r0 = (1, -0, -0), r1.z = -0 and r2.z = -1: a half turn
        // about X of -pi, and Z = atan2(-0, 1) = -0.
        {"mirror", test::scaling({-1, 1, 1}), {{0, 0, 0}, {-1, -1, -1}, {0, 0, 0}, {-kPi, 0, -0.0f}}, {0, 0, 0, 0}},
        {"+90 degrees", test::euler(0.3, kRightAngle, 0.2), {{0, 0, 0}, {1, 1, 1}, {0, 0, 0}, {0.1f, kHalfPi, 0}},
         {0, 2.5e-7f, 1e-7f, 3e-7f}},
        {"-90 degrees", test::euler(0.3, -kRightAngle, 0.2), {{0, 0, 0}, {1, 1, 1}, {0, 0, 0}, {0.5f, -kHalfPi, 0}},
         {0, 2.5e-7f, 1e-7f, 3e-7f}},
        {"89.99 degrees", test::euler(0.3, near_right, 0.2),
         {{0, 0, 0}, {1, 1, 1}, {0, 0, 0}, {0.1f, kHalfPi, 0}},
         {0, 2.5e-7f, 1e-7f, 3e-7f}},
    };
    for (const Case& c : cases) {
        const Parts p = decomposed(c.m);
        expect_close(p.translation, c.expected.translation, c.tolerance[0], std::string(c.what) + " translation");
        expect_close(p.scale, c.expected.scale, c.tolerance[1], std::string(c.what) + " scale");
        expect_close(p.shear, c.expected.shear, c.tolerance[2], std::string(c.what) + " shear");
        expect_close(p.rotation, c.expected.rotation, c.tolerance[3], std::string(c.what) + " rotation");
        // Near +-90 degrees the Y angle and the zero Z angle are exact bits.
        if (c.tolerance[3] != 0) {
            if (std::fabs(c.expected.rotation.y) == kHalfPi) {
                EXPECT_EQ(bits(p.rotation.y), bits(c.expected.rotation.y)) << c.what;
            }
            if (c.expected.rotation.z == 0) {
                EXPECT_EQ(bits(p.rotation.z), bits(0.0f)) << c.what;
            }
        }
    }
}

TEST(Decompose, IgnoresColumn3AndNullOutputsAndSurvivesZeroW) {
    const Mat4 m = test::compose({1.5f, -2, 0.75f}, {0.2f, -0.1f, 0.4f}, {1, -0.4f, 2.2f}, {7, 8, 9});
    Mat4 column3 = m;
    column3.m[0][3] = column3.m[1][3] = column3.m[2][3] = 1;
    const Parts plain = decomposed(m), odd = decomposed(column3);
    expect_close(odd.translation, plain.translation, 0, "translation");
    expect_close(odd.scale, plain.scale, 0, "scale");
    expect_close(odd.shear, plain.shear, 0, "shear");
    expect_close(odd.rotation, plain.rotation, 0, "rotation");

    Vec3 rotation_only;
    decompose(m, nullptr, nullptr, nullptr, &rotation_only);
    expect_close(rotation_only, plain.rotation, 0, "rotation alone");
    decompose(m, nullptr, nullptr, nullptr, nullptr);

    // m[3][3] = 0 turns every element into an infinity or a NaN. The rows
    // cannot be scaled, so the scales stay 0, and the NaN cosine of the Y
    // angle takes the +-90 degree branch with Z = 0; all else is not finite.
    Mat4 singular = ftv::kIdentityMatrix;
    singular.m[3][3] = 0;
    const Parts broken = decomposed(singular);
    expect_close(broken.scale, {0, 0, 0}, 0, "scale");
    EXPECT_EQ(bits(broken.rotation.z), bits(0.0f));
    for (float e : {broken.translation.x, broken.translation.y, broken.translation.z, broken.shear.x, broken.shear.y,
                    broken.shear.z, broken.rotation.x, broken.rotation.y})
        EXPECT_FALSE(std::isfinite(e));
}

// Random parts, rebuilt as Sc * H * Rx * Ry * Rz * T, come back from
// decompose. A mirror (odd count of negative scales) comes back with all
// three scales negative, and rows of R turned by diag(sign) = D. Then the
// shears take the signs of the rows they couple and the rotation is D * R;
// with all scales of one sign D is the identity and the angles themselves
// return.
TEST(Decompose, RebuildsRandomParts) {
    // About 2.5 to 5 times the largest errors seen over these samples
    // (2e-7, 3e-7, 7e-7 and 8e-7): float rounding of the rebuilt matrix.
    constexpr float kScaleTolerance = 1e-6f;   // relative
    constexpr float kShearTolerance = 1.5e-6f;
    constexpr float kAngleTolerance = 2e-6f;   // radians
    constexpr float kMatrixTolerance = 2e-6f;  // elements of a rotation
    test::Rng rng(20240611);
    for (int n = 0; n < 4000; ++n) {
        const int pattern = n % 8;
        const float sign[3] = {pattern & 1 ? -1.0f : 1.0f, pattern & 2 ? -1.0f : 1.0f, pattern & 4 ? -1.0f : 1.0f};
        const Vec3 magnitude{float(rng.uniform(0.25, 4)), float(rng.uniform(0.25, 4)), float(rng.uniform(0.25, 4))};
        const Vec3 scale{sign[0] * magnitude.x, sign[1] * magnitude.y, sign[2] * magnitude.z};
        const Vec3 shear{float(rng.uniform(-1, 1)), float(rng.uniform(-1, 1)), float(rng.uniform(-1, 1))};
        const Vec3 angles{float(rng.uniform(-3.1, 3.1)), float(rng.uniform(-1.45, 1.45)), float(rng.uniform(-3.1, 3.1))};
        const Vec3 move{float(rng.uniform(-100, 100)), float(rng.uniform(-100, 100)), float(rng.uniform(-100, 100))};
        const std::string what = "sample " + std::to_string(n);

        const Parts p = decomposed(test::compose(scale, shear, angles, move));
        const float mirror = sign[0] * sign[1] * sign[2];
        const float d[3] = {sign[0] * mirror, sign[1] * mirror, sign[2] * mirror};

        expect_close(p.translation, move, 0, what + " translation");
        EXPECT_NEAR(p.scale.x, mirror * magnitude.x, kScaleTolerance * magnitude.x) << what;
        EXPECT_NEAR(p.scale.y, mirror * magnitude.y, kScaleTolerance * magnitude.y) << what;
        EXPECT_NEAR(p.scale.z, mirror * magnitude.z, kScaleTolerance * magnitude.z) << what;
        expect_close(p.shear, {d[2] * d[1] * shear.x, d[2] * d[0] * shear.y, d[0] * d[1] * shear.z}, kShearTolerance,
                     what + " shear");
        if (d[0] > 0 && d[1] > 0 && d[2] > 0) {
            expect_close(p.rotation, angles, kAngleTolerance, what + " angles");
        } else {
            Mat4 turned;
            multiply(test::scaling({d[0], d[1], d[2]}), test::euler(angles), turned);
            expect_close(test::euler(p.rotation), turned, kMatrixTolerance, what + " rotation", 3);
        }
    }
}

// At +-90 degrees about Y only the rotation as a whole is determined: it must
// rebuild from the X angle, the exact +-1.5707964 and Z = 0.
TEST(Decompose, RebuildsTheRotationAtRightAnglesAboutY) {
    constexpr float kMatrixTolerance = 5e-7f;  // 4 times the largest error seen (1.2e-7)
    test::Rng rng(90);
    for (int n = 0; n < 1000; ++n) {
        const double x = rng.uniform(-3.1, 3.1), z = rng.uniform(-3.1, 3.1);
        const Vec3 scale{float(rng.uniform(0.25, 4)), float(rng.uniform(0.25, 4)), float(rng.uniform(0.25, 4))};
        const Mat4 rotation = test::euler(x, n % 2 ? -kRightAngle : kRightAngle, z);
        Mat4 m;
        multiply(test::scaling(scale), rotation, m);
        const Parts p = decomposed(m);
        const std::string what = "sample " + std::to_string(n);
        EXPECT_EQ(bits(p.rotation.y), bits(n % 2 ? -kHalfPi : kHalfPi)) << what;
        EXPECT_EQ(bits(p.rotation.z), bits(0.0f)) << what;
        expect_close(test::euler(p.rotation), rotation, kMatrixTolerance, what, 3);
    }
}

}  // namespace
}  // namespace ftv
