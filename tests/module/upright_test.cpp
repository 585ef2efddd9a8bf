// How each tag turns a part: tags 2 (upright) and 3 (face exactly) face the
// eye exactly in every invertible frame, or keep their transformation where
// no sound turn exists; every other tag keeps the full turn toward the eye
// with the parent's turns undone in the order X, Y, Z, to the bit.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "host/interface_ids.h"
#include "module_fixture.h"
#include "random_frames.h"
#include "scene/imath_values.h"
#include "scenes.h"
#include "split_mix.h"
#include "turns.h"

namespace {

using namespace testing_support;
using refhost::Node;
using refhost::Scene;

class Tags : public MainComponentTest {
protected:
    void SetUp() override {
        MainComponentTest::SetUp();
        store_switch(scene->tree(), 1);
        initialize();
    }
};

// Holders whose turn the plug-in's compensation undoes: a single axis.
ftv::Mat4 scaled_turned_about_y_and_moved() {
    return refhost::product(refhost::product(scaling(2), turn({0, 1, 0}, 0.6f, 0.8f)), ftv::translation_matrix({3, -1, 4}));
}
ftv::Mat4 turned_about_x_and_moved() {
    return refhost::product(turn({1, 0, 0}, 0.8f, 0.6f), ftv::translation_matrix({0, 5, 0}));
}

std::vector<std::uint32_t> words_of(const ftv::Mat4& m) {
    std::vector<std::uint32_t> out(16);
    std::memcpy(out.data(), &m, sizeof m);
    return out;
}

// Parts tagged 2 and 3 under one or two random frames, with random eyes:
// each faces the eye as its mode asks within 1e-4 radians and does not roll
// (upright: does not lean), its pivot stays where it was, and a second pass
// with the same eye writes the same bits.
TEST_F(Tags, UprightAndExactPartsFaceTheEyeInEveryInvertibleFrame) {
    SplitMix rng(21);
    for (int trial = 0; trial < 200; ++trial) {
        const Node* holder = &scene->tree().add_part(scene->tree().root(), "Holder" + std::to_string(trial));
        scene->tree().set_transformation(*holder, random_frame(rng));
        if (rng.chance(50)) {
            holder = &scene->tree().add_part(*holder, "Inner");
            scene->tree().set_transformation(*holder, random_frame(rng));
        }
        const ftv::Vec3 center{float(rng.uniform(-3, 3)), float(rng.uniform(-3, 3)), float(rng.uniform(-3, 3))};
        const Node* parts[] = {&add_billboard(scene->tree(), *holder, "Upright", center, 2),
                               &add_billboard(scene->tree(), *holder, "Exact", center, 3)};
        ftv::Vec3 pivot;
        ftv::transform_point(center, scene->tree().local_to_world(*parts[0]), pivot);
        scene->tree().set_eye({pivot.x + float(rng.uniform(-60, 60)), pivot.y + float(rng.uniform(-60, 60)),
                        pivot.z + float(rng.uniform(-60, 60))});
        notify();
        std::vector<std::uint32_t> first[2];
        for (int k = 0; k < 2; ++k) {
            SCOPED_TRACE("trial " + std::to_string(trial) + ", " + parts[k]->name);
            const refhost::FacingError error = refhost::facing_error(scene->tree(), *parts[k]);
            EXPECT_LE(error.facing, 1e-4);
            EXPECT_LE(error.roll, 1e-4);
            const double size = 1 + std::fabs(pivot.x) + std::fabs(pivot.y) + std::fabs(pivot.z);
            expect_near(scene->tree().world_center(*parts[k]->first()), pivot, 1e-4 * size, "pivot");
            first[k] = words_of(parts[k]->transformation);
        }
        notify();
        for (int k = 0; k < 2; ++k) EXPECT_EQ(words_of(parts[k]->transformation), first[k]) << "trial " << trial;
        scene->tree().detach(*scene->tree().root().last());
    }
}

// Where no sound turn exists the part keeps the transformation it has, and
// where exact facing must choose its roll it turns as documented: for an eye
// straight above, +Y toward world -Z; straight below, toward +Z.
TEST_F(Tags, WithoutASoundTurnTheyKeepTheirTransformation) {
    constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
    ftv::Mat4 flat = scaling(1, 0, 1), no_w = ftv::kIdentityMatrix, not_finite = ftv::kIdentityMatrix;
    no_w.m[3][3] = 0;
    not_finite.m[2][1] = kNaN;
    const struct {
        const char* what;
        ftv::Mat4 frame;
        ftv::Vec3 eye;  // from the pivot
        std::int32_t tag;
        bool turned;
        ftv::Vec3 up;  // where +Y goes, when turned
    } cases[] = {
        {"eye at the pivot, upright", ftv::kIdentityMatrix, {0, 0, 0}, 2, false, {}},
        {"eye at the pivot, exact", ftv::kIdentityMatrix, {0, 0, 0}, 3, false, {}},
        {"eye above, upright", ftv::kIdentityMatrix, {0, 7, 0}, 2, false, {}},
        {"eye below, upright", scaling(2), {0, -7, 0}, 2, false, {}},
        {"eye above, exact", turned_about_x_and_moved(), {0, 7, 0}, 3, true, {0, 0, -1}},
        {"eye below, exact", scaling(-1, 1, 1), {0, -7, 0}, 3, true, {0, 0, 1}},
        {"flat frame, exact", flat, {1, 2, 3}, 3, false, {}},
        {"flat frame, upright", flat, {1, 2, 3}, 2, false, {}},
        {"no w, exact", no_w, {1, 2, 3}, 3, false, {}},
        {"not a number, upright", not_finite, {1, 2, 3}, 2, false, {}},
    };
    const ftv::Mat4 kept = ftv::translation_matrix({9, 8, 7});
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const Node& holder = scene->tree().add_part(scene->tree().root(), c.what);
        scene->tree().set_transformation(holder, c.frame);
        const Node& part = add_billboard(scene->tree(), holder, "Part", {1, 2, 3}, c.tag);
        scene->tree().set_transformation(part, kept);
        ftv::Vec3 pivot;
        ftv::transform_point({1, 2, 3}, scene->tree().local_to_world(part), pivot);
        scene->tree().set_eye({pivot.x + c.eye.x, pivot.y + c.eye.y, pivot.z + c.eye.z});
        notify();
        EXPECT_EQ(part.transformations_set, c.turned ? 1u : 0u);
        if (c.turned) {
            expect_near(world_axis(scene->tree(), part, {0, 1, 0}), c.up, 1e-6, "up");
        } else {
            EXPECT_EQ(words_of(part.transformation), words_of(kept));
        }
        scene->tree().detach(holder);
    }
}

// The transformations that parts tagged 1 and 7 received from the module as
// it was before upright parts existed, bit for bit, for two eyes: under a
// part scaled, turned about Y and moved, under one turned about X, and at the
// top. A scene stored before gives the same results now, on every build.
TEST_F(Tags, OneAndSevenTurnExactlyAsBefore) {
    const Node& turned = scene->tree().add_part(scene->tree().root(), "Turned");
    scene->tree().set_transformation(turned, scaled_turned_about_y_and_moved());
    const Node& tilted = scene->tree().add_part(scene->tree().root(), "Tilted");
    scene->tree().set_transformation(tilted, turned_about_x_and_moved());
    const Node* parts[] = {
        &add_billboard(scene->tree(), turned, "One", {1, 2, 3}, 1),
        &add_billboard(scene->tree(), turned, "Seven", {-2, 0.5f, 1}, 7),
        &add_billboard(scene->tree(), tilted, "OneTilted", {0.5f, -1, 2}, 1),
        &add_billboard(scene->tree(), scene->tree().root(), "Top", {0, 0, 0}, 7),
    };
    const ftv::Vec3 eyes[] = {{-20, 7, 30}, {5, 40, -12}};
    const std::vector<std::uint32_t> expected[2][4] = {
        {
         {0xBE69D8D6, 0x3D4AEAF5, 0x3F78E993, 0x00000000, 0x3DE9FFC9, 0x3F7E402E, 0xBCC2B3F6, 0x00000000,
          0xBF778352, 0x3DD867A0, 0xBE6E0B99, 0x00000000, 0x4079A00E, 0xBEB4ABD0, 0x40317298, 0x3F800000},
         {0xBE0903D4, 0x3DBBD6E7, 0x3F7C9BF0, 0x00000000, 0x3E6CEEC0, 0x3F7898AF, 0xBD7132FE, 0x00000000,
          0xBF76AFAF, 0x3E61B9DA, 0xBE1AC896, 0x00000000, 0xBFB5B809, 0xBCB8A280, 0x4049DCE7, 0x3F800000},
         {0x3F51802F, 0x3EBEBAC2, 0x3EE01006, 0x00000000, 0x3D112B21, 0x3F3A3137, 0xBF2F75B4, 0x00000000,
          0xBF12D809, 0x3F138F6A, 0x3F14FE2A, 0x00000000, 0x3FA30156, 0xBFCE4E26, 0xBD8BB040, 0x3F800000},
         {0x3F563802, 0x3D69F98F, 0x3F0B6680, 0x00000000, 0x3D69F98F, 0x3F7AE1BE, 0xBE43291A, 0x00000000,
          0xBF0B6680, 0x3E43291A, 0x3F5119C0, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x3F800000},
        },
        {
         {0x3F033C9F, 0x3E1D1182, 0x3F58441B, 0x00000000, 0x3F4EDC08, 0xBED670FA, 0xBED41F19, 0x00000000,
          0x3E949EFA, 0x3F651FC1, 0xBEAD6423, 0x00000000, 0xBFFFF194, 0xBA4AA000, 0x407FFC4D, 0x3F800000},
         {0x3F2541F6, 0xBDCF5994, 0x3F41C9F2, 0x00000000, 0x3F2689C6, 0xBEE4890E, 0xBF1D4D53, 0x00000000,
          0x3ECCD9C0, 0x3F639C9D, 0xBE639C9B, 0x00000000, 0xBFB796EC, 0xBEBCA17C, 0x4042C86D, 0x3F800000},
         {0x3F7B0A24, 0xBE488D9F, 0x3B8FF44C, 0x00000000, 0xBE232447, 0xBF4F72C1, 0xBF105A5B, 0x00000000,
          0x3DE97755, 0x3F0D6070, 0xBF536AA4, 0x00000000, 0xBEC157F2, 0xC034487C, 0x40457ABE, 0x3F800000},
         {0x3F7AF017, 0xBE21FD17, 0xBDF376F8, 0x00000000, 0xBE21FD17, 0xBE87F45D, 0xBF7376F8, 0x00000000,
          0x3DF376F8, 0x3F7376F8, 0xBE92142E, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x3F800000},
        },
    };

    for (int e = 0; e < 2; ++e) {
        scene->tree().set_eye(eyes[e]);
        notify();
        for (int p = 0; p < 4; ++p) {
            const std::vector<std::uint32_t> got = words_of(parts[p]->transformation);
            EXPECT_EQ(got, expected[e][p]) << "eye " << e << ", " << parts[p]->name;
        }
    }
}

}  // namespace
