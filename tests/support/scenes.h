// Scenes the behaviour tests build, and what they check on them, on the
// reference host's own conventions (judge/plugin_conventions.h).
#pragma once

#include <gtest/gtest.h>

#include "host_objects/host_scene.h"
#include "judge/plugin_conventions.h"

namespace testing_support {

using refhost::add_billboard;
using refhost::store_switch;

// The first integer of a shape's plug-in stream, or -999 when it has none.
inline std::int32_t stored_value(const refhost::Node& node) { return refhost::plugin_value(node).value_or(-999); }

// Each component within tolerance.
inline void expect_near(const ftv::Vec3& got, const ftv::Vec3& want, double tolerance, const std::string& what) {
    EXPECT_NEAR(got.x, want.x, tolerance) << what;
    EXPECT_NEAR(got.y, want.y, tolerance) << what;
    EXPECT_NEAR(got.z, want.z, tolerance) << what;
}

// Expects the part's +Z axis to point from its marker toward the eye, within 1e-5.
inline void expect_faces_eye(const refhost::SceneTree& scene, const refhost::Node& part) {
    EXPECT_EQ(refhost::faces_eye(scene, part, 1e-5), "");
}

}  // namespace testing_support
