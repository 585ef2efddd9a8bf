// What the fuzz targets and the soak program check on a reference scene after
// an update pass: which tagged parts the walk reaches, and that each of them
// faces the eye, or, upright, the eye's horizontal direction.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "geometry/primitives.h"
#include "host/plugin_id.h"
#include "host_math.h"
#include "scene.h"

namespace ftv_fuzz {

// The parts the walk turns: it enters every part without the plug-in's stream
// and none with it; it turns a part whose stream starts with a non-zero tag
// and whose first child is named "#center". Depth first, in list order.
inline void reached_tagged(const refhost::Node& part, std::vector<const refhost::Node*>& out) {
    for (const refhost::Node* child = part.first; child != nullptr; child = child->next) {
        if (!child->is_part()) continue;
        const refhost::StreamData* stream = child->stream(ftv::kMainId);
        if (stream == nullptr) {
            reached_tagged(*child, out);
        } else if (!stream->empty() && stream->front() != 0 && child->first != nullptr &&
                   child->first->name == "#center") {
            out.push_back(child);
        }
    }
}

inline std::vector<const refhost::Node*> reached_tagged(const refhost::Scene& scene) {
    std::vector<const refhost::Node*> out;
    reached_tagged(scene.root(), out);
    return out;
}

// How closely a turned part can face the eye: 1e-5, and more where the
// rotation of the part that holds it nears +-90 degrees about Y. The plug-in
// learns that rotation's angles by decomposing its matrix, whose Y angle is
// the arcsine of a float, so its rounding (6e-8) grows there by 1 / cos Y
// (below cos Y = 2e-4 the decomposition folds the Z turn into X instead).
inline double facing_tolerance(const refhost::Scene& scene, const refhost::Node& part) {
    if (part.parent == nullptr) return 1e-5;
    const ftv::Mat4 m = scene.content_matrix(*part.parent);
    const double x = m.m[0][0], y = m.m[0][1], z = m.m[0][2];
    const double row = std::sqrt(x * x + y * y + z * z);
    const double cos_y = row > 0 ? std::sqrt(x * x + y * y) / row : 1;
    return 1e-5 + 2e-7 / std::max(cos_y, 2e-4);
}

// Whether the part's tag asks it to stay upright: 2.
inline bool is_upright(const refhost::Node& part) {
    const refhost::StreamData* stream = part.stream(ftv::kMainId);
    return stream != nullptr && !stream->empty() && stream->front() == 2;
}

// The part's axis in world coordinates, unit length.
inline ftv::Vec3 world_axis(const refhost::Scene& scene, const refhost::Node& part, ftv::Vec3 axis) {
    ftv::Vec3 v = refhost::transform_direction(axis, scene.content_matrix(part));
    ftv::normalize(v);
    return v;
}

inline bool near(const ftv::Vec3& a, const ftv::Vec3& b, double tolerance) {
    return std::fabs(a.x - b.x) <= tolerance && std::fabs(a.y - b.y) <= tolerance && std::fabs(a.z - b.z) <= tolerance;
}

// Empty when the part's +Z axis points from its pivot toward the eye, each
// component within tolerance, or for an upright part toward the eye's
// horizontal direction with its +Y axis kept vertical; otherwise what is
// wrong. The pivot is the marker's centre where the plug-in found it, before
// the turn. Eyes closer to the pivot than min_distance (upright: horizontally)
// are not judged (the direction is not defined).
inline std::string faces_eye(const refhost::Scene& scene, const refhost::Node& part, double tolerance,
                             double min_distance = 1e-3) {
    ftv::Vec3 center;
    ftv::transform_point(scene.local_center(*part.first), scene.local_to_world(part), center);
    const ftv::Vec3 eye = scene.camera_data().eye;
    const bool upright = is_upright(part);
    ftv::Vec3 want{eye.x - center.x, upright ? 0.0f : eye.y - center.y, eye.z - center.z};
    if (ftv::normalize(want) < min_distance) return "";
    const ftv::Vec3 got = world_axis(scene, part, {0, 0, 1});
    const ftv::Vec3 up = world_axis(scene, part, {0, 1, 0});
    if (near(got, want, tolerance) && (!upright || near(up, {0, 1, 0}, tolerance))) return "";
    char text[448];
    std::snprintf(text, sizeof text,
                  "%s%s faces (%.7g, %.7g, %.7g) with +Y along (%.7g, %.7g, %.7g), the eye is toward (%.7g, %.7g, "
                  "%.7g); pivot (%.7g, %.7g, %.7g), eye (%.7g, %.7g, %.7g)",
                  upright ? "upright " : "", scene.path_of(part).c_str(), double(got.x), double(got.y),
                  double(got.z), double(up.x), double(up.y), double(up.z), double(want.x), double(want.y),
                  double(want.z), double(center.x), double(center.y), double(center.z), double(eye.x), double(eye.y),
                  double(eye.z));
    return text;
}

}  // namespace ftv_fuzz
