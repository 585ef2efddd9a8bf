// Scenes the behaviour tests build, and what they check on them.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "host/plugin_id.h"
#include "host_math.h"
#include "scene.h"

namespace testing_support {

// A tagged part (stream value tag) holding a "#center" marker at centre and a
// small mesh, as the group creator makes them.
inline refhost::Node& add_billboard(refhost::Scene& scene, refhost::Node& parent, const std::string& name,
                                    ftv::Vec3 center, std::int32_t tag = 1) {
    refhost::Node& part = scene.add_part(parent, name);
    scene.set_stream(part, ftv::kMainId, {tag});
    scene.add_marker(part, center);
    refhost::Mesh quad;
    quad.vertices = {{center.x - 1, center.y - 1, center.z},
                     {center.x + 1, center.y - 1, center.z},
                     {center.x + 1, center.y + 1, center.z},
                     {center.x - 1, center.y + 1, center.z}};
    quad.polygons = {{0, 1, 2, 3}};
    scene.add_mesh(part, name + " face", quad);
    return part;
}

// The switch as the scene stores it.
inline void store_switch(refhost::Scene& scene, std::int32_t value) {
    scene.set_stream(scene.root(), ftv::kMainId, {value});
}

// The first integer of a shape's plug-in stream, or -999 when it has none.
inline std::int32_t stored_value(const refhost::Node& node) {
    const refhost::StreamData* data = node.stream(ftv::kMainId);
    return data == nullptr || data->empty() ? -999 : data->front();
}

// The world direction of one of the part's axes, unit length.
inline ftv::Vec3 world_axis(const refhost::Scene& scene, const refhost::Node& part, ftv::Vec3 axis) {
    ftv::Vec3 v = refhost::transform_direction(axis, scene.content_matrix(part));
    ftv::normalize(v);
    return v;
}

// Each component within tolerance.
inline void expect_near(const ftv::Vec3& got, const ftv::Vec3& want, double tolerance, const std::string& what) {
    EXPECT_NEAR(got.x, want.x, tolerance) << what;
    EXPECT_NEAR(got.y, want.y, tolerance) << what;
    EXPECT_NEAR(got.z, want.z, tolerance) << what;
}

// Expects the part's +Z axis to point from its marker toward the eye, within 1e-5.
inline void expect_faces_eye(const refhost::Scene& scene, const refhost::Node& part) {
    const ftv::Vec3 center = scene.world_center(*part.first);
    const ftv::Vec3 eye = scene.camera_data().eye;
    ftv::Vec3 want{eye.x - center.x, eye.y - center.y, eye.z - center.z};
    ftv::normalize(want);
    expect_near(world_axis(scene, part, {0, 0, 1}), want, 1e-5, part.name);
}

}  // namespace testing_support
