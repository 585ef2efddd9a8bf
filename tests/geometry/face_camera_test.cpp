// Turning a part toward the eye about its pivot: the direction it turns to,
// and the transformation built from the host's turn and the part's angles.
#include <gtest/gtest.h>

#include "geometry/decompose.h"
#include "geometry/det_math.h"
#include "geometry/face_camera.h"
#include "geometry_expect.h"

namespace {

using ftv::Mat4;
using ftv::Vec3;
using ftv::test::expect_close;

Mat4 identity() { return ftv::kIdentityMatrix; }

Mat4 translation(const Vec3& t) {
    Mat4 m = identity();
    m.m[3][0] = t.x;
    m.m[3][1] = t.y;
    m.m[3][2] = t.z;
    return m;
}

Mat4 about(const Vec3& axis, double angle) {
    Mat4 m;
    ftv::axis_rotation(axis, static_cast<float>(ftv::detmath::cos(angle)), static_cast<float>(ftv::detmath::sin(angle)), m);
    return m;
}

Mat4 product(std::initializer_list<Mat4> factors) {
    Mat4 out = identity();
    for (const Mat4& f : factors) ftv::multiply(out, f, out);
    return out;
}

Mat4 scaling(float k) {
    Mat4 m = identity();
    m.m[0][0] = m.m[1][1] = m.m[2][2] = k;
    return m;
}

TEST(DirectionToEye, FromThePivotInWorldCoordinates) {
    const struct {
        const char* what;
        Mat4 part_to_world;
        Vec3 pivot, eye, expected;
    } cases[] = {
        {"straight ahead", identity(), {0, 0, 0}, {0, 0, 10}, {0, 0, 1}},
        {"pivot carried by the part's matrix", translation({0, 5, 0}), {0, 1, 0}, {0, 6, -3}, {0, 0, -1}},
        {"scaled part", scaling(2), {3, 4, 0}, {0, 0, 0}, {-0.6f, -0.8f, 0}},
        // The eye exactly at the pivot leaves the direction zero.
        {"eye at the pivot", translation({1, 2, 3}), {1, 1, 1}, {2, 3, 4}, {0, 0, 0}},
    };
    for (const auto& c : cases) {
        Vec3 d;
        ftv::direction_to_eye(c.part_to_world, c.pivot, c.eye, d);
        expect_close(d, c.expected, 1e-7f, c.what);
    }
}

TEST(FacingTransform, TurnsAboutThePivotAndKeepsOnlyTheAnglesOfThePart) {
    const Vec3 zero{0, 0, 0};
    // With no angles and no pivot the result is the host's turn itself.
    const Mat4 turn = about({1, 1, 0}, 0.8);
    Mat4 result;
    ftv::facing_transform(zero, turn, zero, result);
    expect_close(result, turn, 0, "turn alone");

    // The pivot is a fixed point when the turn has no translation.
    const Vec3 pivot{1, 2, 3};
    ftv::facing_transform(pivot, turn, Vec3{0.2f, -0.4f, 1.1f}, result);
    Vec3 moved;
    ftv::transform_point(pivot, result, moved);
    expect_close(moved, pivot, 2e-6f, "pivot");

    // A part scaled by 2 and moved by (5, 0, 0) has no angles: none of its
    // scale or translation enters the result.
    const Mat4 scaled = product({scaling(2), translation({5, 0, 0})});
    Vec3 angles;
    ftv::decompose(scaled, nullptr, nullptr, nullptr, &angles);
    ftv::facing_transform(pivot, turn, angles, result);
    expect_close(result, product({translation({-1, -2, -3}), turn, translation(pivot)}), 1e-6f, "scaled part");
}

TEST(FacingTransform, AxisFactorsComeInTheOrderXYZWithNegatedAngles) {
    // A part turned by Rx(0.3) * Ry(0.5): the factors after the turn are
    // Rx(-0.3) * Ry(-0.5), which is not the inverse Ry(-0.5) * Rx(-0.3).
    Vec3 angles;
    ftv::decompose(product({about({1, 0, 0}, 0.3), about({0, 1, 0}, 0.5)}), nullptr, nullptr, nullptr, &angles);
    expect_close(angles, Vec3{0.3f, 0.5f, 0.0f}, 1e-6f, "angles");
    const Vec3 pivot{0.5f, -1, 2};
    const Mat4 turn = about({0, 1, 0}, 1.2);
    Mat4 result;
    ftv::facing_transform(pivot, turn, angles, result);
    const Mat4 xyz = product({translation({-0.5f, 1, -2}), turn, about({1, 0, 0}, -0.3), about({0, 1, 0}, -0.5),
                              translation(pivot)});
    expect_close(result, xyz, 1e-6f, "X, Y, Z order");
    const Mat4 inverse = product({translation({-0.5f, 1, -2}), turn, about({0, 1, 0}, -0.5),
                                  about({1, 0, 0}, -0.3), translation(pivot)});
    EXPECT_GT(std::fabs(result.m[0][1] - inverse.m[0][1]) + std::fabs(result.m[2][1] - inverse.m[2][1]), 1e-3f);
}

}  // namespace
