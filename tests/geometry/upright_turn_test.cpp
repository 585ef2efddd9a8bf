// The turn of an upright part: about the vertical only, toward the
// horizontal part of the direction, and none where there is no such part.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <ostream>

#include "geometry/face_camera.h"
#include "geometry/upright_turn.h"
#include "geometry_expect.h"

namespace {

using ftv::Mat4;
using ftv::Vec3;
using ftv::test::expect_close;

struct Case {
    const char* name;
    Vec3 direction;
    Vec3 facing;  // where +Z goes
};
void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

class UprightTurn : public ::testing::TestWithParam<Case> {};

TEST_P(UprightTurn, CarriesZOntoTheHorizontalDirectionAndKeepsTheVertical) {
    const Case& c = GetParam();
    Mat4 m;
    ftv::upright_turn(c.direction, m);
    Vec3 z;
    ftv::transform_point(Vec3{0, 0, 1}, m, z);
    expect_close(z, c.facing, 1e-7f, "+Z");
    // Row 1 is the image of +Y and column 1 what every axis gives to the
    // vertical: exactly the unit vector, so an upright part never leans.
    expect_close(Vec3{m.m[1][0], m.m[1][1], m.m[1][2]}, Vec3{0, 1, 0}, 0, "row 1");
    expect_close(Vec3{m.m[0][1], m.m[2][1], m.m[3][1]}, Vec3{0, 0, 0}, 0, "column 1");
    expect_close(Vec3{m.m[3][0], m.m[3][2], m.m[3][3]}, Vec3{0, 0, 1}, 0, "no translation");
}

INSTANTIATE_TEST_SUITE_P(
    Directions, UprightTurn,
    ::testing::Values(Case{"Ahead", {0, 0, 1}, {0, 0, 1}}, Case{"Right", {1, 0, 0}, {1, 0, 0}},
                      Case{"Behind", {0, 0, -1}, {0, 0, -1}}, Case{"Left", {-1, 0, 0}, {-1, 0, 0}},
                      Case{"RisingBehindRight", {0.3f, 0.9f, -0.4f}, {0.6f, 0, -0.8f}},
                      Case{"FallingAheadLeft", {-0.48f, -0.6f, 0.64f}, {-0.6f, 0, 0.8f}},
                      // Nearly straight up, yet a horizontal direction all the same.
                      Case{"AlmostStraightUp", {1e-30f, 1, -1e-30f}, {0.70710678f, 0, -0.70710678f}}),
    [](const auto& info) { return std::string(info.param.name); });

// No horizontal direction: angle 0, whatever the signs of the zeros.
TEST(UprightTurnDegenerate, NoHorizontalDirectionIsTheIdentityToTheBit) {
    for (const Vec3 d : {Vec3{0, 1, 0}, Vec3{-0.0f, -1, -0.0f}, Vec3{0, 0, 0}, Vec3{-0.0f, 0, 0}}) {
        Mat4 m;
        ftv::upright_turn(d, m);
        expect_close(m, ftv::kIdentityMatrix, 0, "no horizontal direction");
    }
}

TEST(UprightTurnDegenerate, ADirectionThatIsNotANumberGivesNoNumber) {
    Mat4 m;
    ftv::upright_turn(Vec3{std::numeric_limits<float>::quiet_NaN(), 0, 1}, m);
    EXPECT_TRUE(std::isnan(m.m[0][0]));
    EXPECT_TRUE(std::isnan(m.m[2][2]));
}

}  // namespace
