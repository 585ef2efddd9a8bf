// Upright parts (stored tag 2) turn about the world's vertical only, toward
// the eye's horizontal direction; every other tag keeps the full turn toward
// the eye, to the bit.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "host/interface_ids.h"
#include "module_fixture.h"
#include "scene/host_math.h"
#include "scenes.h"

namespace {

using namespace testing_support;
using refhost::Node;
using refhost::Scene;

class Tags : public HostTest {
protected:
    void SetUp() override {
        main = create_component(shared_module(), ftv::kPluginInterfaceId, 0, host);
        scene = &host.new_scene();
        store_switch(scene->tree(), 1);
        bool flag = true;
        main->initialization(flag, scene);
    }
    void notify() {
        bool flag = true;
        main->update_notification(flag, scene);
    }

    ComponentPtr main;
    Scene* scene = nullptr;
};

// Exact rotations (cosine and sine of a 3-4-5 triangle), so that the scenes
// are the same bits on every build without any library's trigonometry.
ftv::Mat4 turn(ftv::Vec3 axis, float c, float s) {
    ftv::Mat4 m;
    ftv::axis_rotation(axis, c, s, m);
    return m;
}

ftv::Mat4 scaling(float k) {
    ftv::Mat4 m = ftv::kIdentityMatrix;
    m.m[0][0] = m.m[1][1] = m.m[2][2] = k;
    return m;
}

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

// Eyes all around an upright part, level with it, below and above it, and
// straight above and below its pivot, under holders that the turn's
// compensation undoes: none, scaled, turned about Y and moved, and turned
// about X. The part stands upright, faces the eye's horizontal direction
// (the world's +Z where there is none) and turns about its marker's centre;
// a part tagged 1 beside it still faces the eye itself.
TEST_F(Tags, UprightPartsStandAndFaceTheEyesHorizontalDirection) {
    const struct {
        const char* name;
        ftv::Mat4 transformation;
    } holders[] = {
        {"Top", ftv::kIdentityMatrix},
        {"ScaledTurnedMoved", scaled_turned_about_y_and_moved()},
        {"Tilted", turned_about_x_and_moved()},
    };
    for (const auto& holder : holders) {
        const Node& group = scene->tree().add_part(scene->tree().root(), holder.name);
        scene->tree().set_transformation(group, holder.transformation);
        const Node& upright = add_billboard(scene->tree(), group, "Upright", {1, 2, 3}, 2);
        const Node& full = add_billboard(scene->tree(), group, "Full", {-1, 0, 2}, 1);
        // The pivot as the plug-in finds it: the marker's centre carried by the holder.
        ftv::Vec3 pivot;
        ftv::transform_point(scene->tree().local_center(*upright.first()), scene->tree().local_to_world(upright), pivot);

        std::vector<ftv::Vec3> offsets = {{0, 10, 0}, {0, -10, 0}};
        for (int step = 0; step < 12; ++step) {
            const double angle = step * 3.14159265358979 / 6;
            for (float height : {-15.0f, 0.0f, 4.0f, 60.0f})
                offsets.push_back({static_cast<float>(10 * std::sin(angle)), height,
                                   static_cast<float>(10 * std::cos(angle))});
        }
        for (const ftv::Vec3& o : offsets) {
            const std::string what = std::string(holder.name) + ", eye at pivot + (" + std::to_string(o.x) + ", " +
                                     std::to_string(o.y) + ", " + std::to_string(o.z) + ")";
            SCOPED_TRACE(what);
            scene->tree().set_eye({pivot.x + o.x, pivot.y + o.y, pivot.z + o.z});
            notify();

            ftv::Vec3 horizontal{o.x, 0, o.z};
            if (o.x == 0 && o.z == 0) horizontal.z = 1;
            ftv::normalize(horizontal);
            expect_near(world_axis(scene->tree(), upright, {0, 1, 0}), {0, 1, 0}, 1e-5, "up");
            expect_near(world_axis(scene->tree(), upright, {0, 0, 1}), horizontal, 1e-5, "facing");
            expect_near(scene->tree().world_center(*upright.first()), pivot, 1e-5, "pivot");
            expect_faces_eye(scene->tree(), full);
        }
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
