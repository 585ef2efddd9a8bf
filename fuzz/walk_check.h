// What the fuzz targets and the soak program check on a reference scene after
// an update pass: which tagged parts the walk reaches, and that each of them
// faces the eye.
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

// Empty when the part's +Z axis points from its pivot toward the eye, each
// component within tolerance; otherwise what is wrong. Eyes closer to the
// pivot than min_distance are not judged (the direction is not defined).
inline std::string faces_eye(const refhost::Scene& scene, const refhost::Node& part, double tolerance,
                             double min_distance = 1e-3) {
    const ftv::Vec3 center = scene.world_center(*part.first);
    const ftv::Vec3 eye = scene.camera_data().eye;
    ftv::Vec3 want{eye.x - center.x, eye.y - center.y, eye.z - center.z};
    if (ftv::normalize(want) < min_distance) return "";
    ftv::Vec3 got = refhost::transform_direction({0, 0, 1}, scene.content_matrix(part));
    ftv::normalize(got);
    if (std::fabs(got.x - want.x) <= tolerance && std::fabs(got.y - want.y) <= tolerance &&
        std::fabs(got.z - want.z) <= tolerance)
        return "";
    char text[384];
    std::snprintf(text, sizeof text,
                  "%s faces (%.7g, %.7g, %.7g), the eye is toward (%.7g, %.7g, %.7g); pivot (%.7g, %.7g, %.7g), "
                  "eye (%.7g, %.7g, %.7g)",
                  scene.path_of(part).c_str(), double(got.x), double(got.y), double(got.z), double(want.x),
                  double(want.y), double(want.z), double(center.x), double(center.y), double(center.z),
                  double(eye.x), double(eye.y), double(eye.z));
    return text;
}

}  // namespace ftv_fuzz
