// The expected bits of facing_scene.h, checked against this build: the
// reference host, given each case's matrix and centre, reports them as they
// stand; its rotation_between answers the recorded rotation for the recorded
// direction; and the part receives the recorded transformation, facing the
// eye. On a mismatch the test prints what this build gives, in the header's
// form.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "facing_scene.h"
#include "host/interface_ids.h"
#include "module_fixture.h"
#include "scene/imath_values.h"
#include "scenes.h"

namespace {

using namespace testing_support;

ftv::Mat4 mat(const float (&m)[4][4]) {
    ftv::Mat4 out;
    std::memcpy(&out, m, sizeof out);
    return out;
}

bool same_bits(const void* a, const void* b, std::size_t size) { return std::memcmp(a, b, size) == 0; }

std::string printed(const float* values, int count) {
    std::string text = "{";
    for (int i = 0; i < count; ++i) {
        char number[32];
        std::snprintf(number, sizeof number, "%s%af", i ? ", " : "", static_cast<double>(values[i]));
        text += number;
    }
    return text + "}";
}

class FacingExpectations : public HostTest {};

TEST_F(FacingExpectations, TheLinuxBuildGivesTheRecordedBits) {
    auto main = create_component(shared_module(), ftv::kPluginInterfaceId, 0, host);
    refhost::Scene& scene = host.new_scene();
    store_switch(scene.tree(), 1);
    scene.tree().set_eye({kFacingEye[0], kFacingEye[1], kFacingEye[2]});
    // Case 0 sits in an untagged holder whose transformation is its matrix;
    // case 1 in the root, whose matrix is the identity.
    const refhost::Node& holder = scene.tree().add_part(scene.tree().root(), "Holder");
    scene.tree().set_transformation(holder, mat(kFacingCases[0].world));
    const refhost::Node* parts[kFacingCaseCount] = {};
    for (int k = 0; k < kFacingCaseCount; ++k) {
        const float* c = kFacingCases[k].center;
        parts[k] = &add_billboard(scene.tree(), k == 0 ? holder : scene.tree().root(), "Case " + std::to_string(k),
                                  {c[0], c[1], c[2]});
    }

    bool flag = true;
    main->initialization(flag, &scene);
    main->update_notification(flag, &scene);

    for (int k = 0; k < kFacingCaseCount; ++k) {
        SCOPED_TRACE("case " + std::to_string(k));
        const FacingCase& expected = kFacingCases[k];
        const ftv::Mat4 world = scene.tree().local_to_world(*parts[k]);
        ASSERT_TRUE(same_bits(&world, expected.world, sizeof world)) << "the scene reports the case's matrix";

        // The host's answer for the recorded direction, which the platform-ABI
        // host plays back; the part turned by it gets the recorded bits.
        const ftv::Vec3 direction{expected.direction[0], expected.direction[1], expected.direction[2]};
        const ftv::Mat4 turn = refhost::rotation_between({0, 0, 1}, direction);
        EXPECT_TRUE(same_bits(&turn, expected.turn, sizeof turn)) << "the host answers\n  turn "
                                                                  << printed(&turn.m[0][0], 16);
        const ftv::Mat4& got = parts[k]->transformation;
        EXPECT_EQ(parts[k]->transformations_set, 1u);
        expect_faces_eye(scene.tree(), *parts[k]);
        EXPECT_TRUE(same_bits(&got, expected.transformation, sizeof got))
            << "this build gives\n  transformation " << printed(&got.m[0][0], 16);
    }
}

}  // namespace
