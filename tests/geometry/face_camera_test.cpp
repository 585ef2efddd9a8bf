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

Mat4 about(const Vec3& axis, double angle) {
    Mat4 m;
    ftv::axis_rotation(axis, static_cast<float>(ftv::detmath::cos(angle)), static_cast<float>(ftv::detmath::sin(angle)), m);
    return m;
}

Mat4 scaling(float k) {
    Mat4 m = ftv::kIdentityMatrix;
    m.m[0][0] = m.m[1][1] = m.m[2][2] = k;
    return m;
}

// The direction v carried by m (a row vector times m's upper 3x3), in double.
Vec3 through(const Vec3& v, const Mat4& m) {
    double out[3];
    for (int j = 0; j < 3; ++j) out[j] = double(v.x) * m.m[0][j] + double(v.y) * m.m[1][j] + double(v.z) * m.m[2][j];
    return {float(out[0]), float(out[1]), float(out[2])};
}

// Where m takes the point p, less where it takes the origin: how m carries
// the direction p, translations aside.
Vec3 carried(const Vec3& p, const Mat4& m) {
    Vec3 at, origin;
    ftv::transform_point(p, m, at);
    ftv::transform_point({0, 0, 0}, m, origin);
    return {at.x - origin.x, at.y - origin.y, at.z - origin.z};
}

const Vec3 kDirections[] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {0.3f, -0.7f, 0.2f}};

TEST(DirectionToEye, FromThePivotInWorldCoordinates) {
    const struct {
        const char* what;
        Mat4 part_to_world;
        Vec3 pivot, eye, expected;
    } cases[] = {
        {"straight ahead", ftv::kIdentityMatrix, {0, 0, 0}, {0, 0, 10}, {0, 0, 1}},
        {"pivot carried by the part's matrix", ftv::translation_matrix({0, 5, 0}), {0, 1, 0}, {0, 6, -3}, {0, 0, -1}},
        {"scaled part", scaling(2), {3, 4, 0}, {0, 0, 0}, {-0.6f, -0.8f, 0}},
        // The eye exactly at the pivot leaves the direction zero.
        {"eye at the pivot", ftv::translation_matrix({1, 2, 3}), {1, 1, 1}, {2, 3, 4}, {0, 0, 0}},
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
    // scale or translation enters the result, which turns every direction as
    // the host's turn does and keeps the pivot where it is.
    Mat4 scaled = scaling(2);
    scaled.m[3][0] = 5;
    Vec3 angles;
    ftv::decompose(scaled, nullptr, nullptr, nullptr, &angles);
    ftv::facing_transform(pivot, turn, angles, result);
    for (const Vec3& v : kDirections) expect_close(carried(v, result), through(v, turn), 2e-6f, "scaled part");
    ftv::transform_point(pivot, result, moved);
    expect_close(moved, pivot, 2e-6f, "scaled part's pivot");
}

TEST(FacingTransform, AxisFactorsComeInTheOrderXYZWithNegatedAngles) {
    // A part turned by Rx(0.3) * Ry(0.5): after the host's turn the result
    // turns by -0.3 about X and then by -0.5 about Y, which is not the inverse
    // of the part's turn (that would take Y first).
    Vec3 angles;
    Mat4 part;
    ftv::multiply(about({1, 0, 0}, 0.3), about({0, 1, 0}, 0.5), part);
    ftv::decompose(part, nullptr, nullptr, nullptr, &angles);
    expect_close(angles, Vec3{0.3f, 0.5f, 0.0f}, 1e-6f, "angles");
    const Mat4 turn = about({0, 1, 0}, 1.2);
    Mat4 result;
    ftv::facing_transform(Vec3{0.5f, -1, 2}, turn, angles, result);
    float apart = 0;
    for (const Vec3& v : kDirections) {
        const Vec3 after_turn = through(v, turn);
        const Vec3 xyz = through(through(after_turn, about({1, 0, 0}, -0.3)), about({0, 1, 0}, -0.5));
        expect_close(carried(v, result), xyz, 2e-6f, "X, then Y");
        const Vec3 yx = through(through(after_turn, about({0, 1, 0}, -0.5)), about({1, 0, 0}, -0.3));
        apart = std::fmax(apart, std::fabs(xyz.x - yx.x) + std::fabs(xyz.y - yx.y) + std::fabs(xyz.z - yx.z));
    }
    EXPECT_GT(apart, 1e-2f) << "the two orders differ on these directions";
}

}  // namespace
