#include "judge/plugin_conventions.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "behaviour/part_tag.h"
#include "geometry/decompose.h"
#include "geometry/exact_facing.h"
#include "host/plugin_id.h"
#include "scene/imath_values.h"

namespace refhost {

using ftv::Vec3;

Mesh square(const Vec3& c, float size) {
    Mesh mesh;
    mesh.vertices = {{c.x - size, c.y - size, c.z},
                     {c.x + size, c.y - size, c.z},
                     {c.x + size, c.y + size, c.z},
                     {c.x - size, c.y + size, c.z}};
    mesh.polygons = {{0, 1, 2, 3}};
    return mesh;
}

const Node& add_billboard(SceneTree& tree, const Node& parent, const std::string& name, Vec3 center,
                          std::optional<std::int32_t> tag, float face) {
    const Node& part = tree.add_part(parent, name);
    if (tag) tree.set_stream(part, ftv::kMainId, {*tag});
    tree.add_marker(part, center);
    if (face != 0) tree.add_mesh(part, name + " face", square(center, face));
    return part;
}

void store_switch(SceneTree& tree, std::int32_t value) { tree.set_stream(tree.root(), ftv::kMainId, {value}); }

std::optional<std::int32_t> plugin_value(const Node& node) {
    const StreamData* data = node.stream(ftv::kMainId);
    if (data == nullptr || data->empty()) return std::nullopt;
    return data->front();
}

bool stored_switch_on(const SceneTree& tree) { return plugin_value(tree.root()).value_or(0) != 0; }

TagRule tag_rule(const Node& part) {
    const std::optional<std::int32_t> tag = plugin_value(part);
    if (!tag) return TagRule::empty_stream;
    if (*tag == 0) return TagRule::tag_zero;
    if (part.first() == nullptr) return TagRule::no_children;
    if (part.first()->name == ftv::kMarkerName) return TagRule::turned;
    return marker_position(part) > 0 ? TagRule::marker_not_first : TagRule::marker_misnamed;
}

std::size_t marker_position(const Node& part) {
    std::size_t position = 1;
    for (const Node* child = part.first(); child != nullptr; child = child->next(), ++position)
        if (child->name == ftv::kMarkerName) return position;
    return 0;
}

bool is_turned_when_reached(const Node& part) {
    return part.is_part() && part.stream(ftv::kMainId) != nullptr && tag_rule(part) == TagRule::turned;
}

namespace {

void collect_reached(const Node& part, std::vector<const Node*>& out) {
    for (const Node* child = part.first(); child != nullptr; child = child->next()) {
        if (!child->is_part()) continue;
        if (child->stream(ftv::kMainId) == nullptr) {
            collect_reached(*child, out);
        } else if (is_turned_when_reached(*child)) {
            out.push_back(child);
        }
    }
}

}  // namespace

std::vector<const Node*> reached_tagged(const SceneTree& tree) {
    std::vector<const Node*> out;
    collect_reached(tree.root(), out);
    return out;
}

namespace {

// How far apart the directions of two non-zero vectors are: the distance
// between them made unit length, 2 sin(angle / 2). No C library
// trigonometry, whose results depend on the machine on the Windows build.
double apart(const V3d& a, const V3d& b) { return (a.normalized() - b.normalized()).length(); }
// a without its component along the unit vector d.
V3d across(const V3d& a, const V3d& d) { return a - d * (a ^ d); }
// The rows of the upper 3x3 block.
V3d row(const ftv::Mat4& m, int i) { return V3d(m.m[i][0], m.m[i][1], m.m[i][2]); }

// The pivot as the plug-in finds it, and the direction from it to the eye.
Vec3 pivot_of(const SceneTree& tree, const Node& part) {
    return transform_point(tree.local_center(*part.first()), tree.local_to_world(part));
}
V3d toward_eye(const SceneTree& tree, const Node& part) {
    return imath(tree.camera_data().eye) - imath(pivot_of(tree, part));
}

bool near(const Vec3& a, const Vec3& b, double tolerance) {
    return std::fabs(a.x - b.x) <= tolerance && std::fabs(a.y - b.y) <= tolerance && std::fabs(a.z - b.z) <= tolerance;
}

}  // namespace

FacingMode facing_mode(const Node& part) {
    const std::optional<std::int32_t> tag = plugin_value(part);
    if (tag == ftv::kUprightTag) return FacingMode::upright;
    if (tag == ftv::kExactTag) return FacingMode::exact;
    return FacingMode::plain;
}


Vec3 world_axis(const SceneTree& tree, const Node& part, const Vec3& axis) {
    return vec3(imath(transform_direction(axis, tree.content_matrix(part))).normalized());
}

Vec3 facing_of(const SceneTree& tree, const Node& part) { return world_axis(tree, part, {0, 0, 1}); }

double facing_tolerance(const SceneTree& tree, const Node& part) {
    if (part.parent() == nullptr) return 1e-5;
    const ftv::Mat4 m = tree.content_matrix(*part.parent());
    if (facing_mode(part) != FacingMode::plain) {
        const V3d r0 = row(m, 0), r1 = row(m, 1), r2 = row(m, 2);
        const double frobenius = std::sqrt(r0.length2() + r1.length2() + r2.length2());
        return 1e-6 + 1e-7 * frobenius * frobenius * frobenius / std::fabs(r0 ^ (r1 % r2));
    }
    const V3d r0 = row(m, 0);
    const double cos_y = r0.length() > 0 ? std::sqrt(r0.x * r0.x + r0.y * r0.y) / r0.length() : 1;
    return 1e-5 + 2e-7 / std::max(cos_y, double(ftv::kGimbalCosine));
}


std::string kept_because(const SceneTree& tree, const Node& part) {
    const FacingMode mode = facing_mode(part);
    if (mode == FacingMode::plain) return "";
    const ftv::Mat4 frame = tree.local_to_world(part);
    const double w = frame.m[3][3];
    bool finite = std::isfinite(w) && w != 0;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) finite = finite && std::isfinite(frame.m[i][j]);
    if (!finite) return "its parent's frame is not finite";
    const V3d r0 = row(frame, 0) * (1 / w), r1 = row(frame, 1) * (1 / w), r2 = row(frame, 2) * (1 / w);
    if (!(std::fabs(r0 ^ (r1 % r2)) > ftv::kExactFlatShare * r0.length() * r1.length() * r2.length()))
        return "its parent's frame is flat: it has no inverse to turn it in";
    // The direction as the plug-in takes it: eye minus pivot, in floats.
    const Vec3 eye = tree.camera_data().eye, pivot = pivot_of(tree, part);
    const Vec3 d{eye.x - pivot.x, eye.y - pivot.y, eye.z - pivot.z};
    if (!std::isfinite(d.x) || !std::isfinite(d.y) || !std::isfinite(d.z)) return "its pivot or the eye is not finite";
    if (d.x == 0 && d.y == 0 && d.z == 0) return "the eye is at its pivot";
    if (mode == FacingMode::upright && d.x == 0 && d.z == 0)
        return "the eye is straight above or below its pivot: there is no horizontal direction to face";
    return "";
}

FacingError facing_error(const SceneTree& tree, const Node& part, double min_distance) {
    constexpr double kUndefined = std::numeric_limits<double>::quiet_NaN();
    const FacingMode mode = facing_mode(part);
    const V3d d = toward_eye(tree, part);
    const V3d z = imath(facing_of(tree, part));
    const V3d y = imath(world_axis(tree, part, {0, 1, 0}));
    const V3d up(0, 1, 0);
    if (mode == FacingMode::upright) {
        const V3d level(d.x, 0, d.z);
        if (level.length() < min_distance) return {kUndefined, kUndefined};
        return {apart(V3d(z.x, 0, z.z), level), apart(y, up)};
    }
    if (d.length() < min_distance) return {kUndefined, kUndefined};
    if (mode == FacingMode::plain) return {apart(z, d), 0};
    const V3d n = d.normalized();
    const V3d level_up = n.x == 0 && n.z == 0 ? V3d(0, 0, -n.y) : across(up, n);
    return {apart(z, d), apart(across(y, n), level_up)};
}

std::string faces_eye(const SceneTree& tree, const Node& part, double tolerance, double min_distance) {
    const Vec3 center = pivot_of(tree, part);
    const Vec3 eye = tree.camera_data().eye;
    const FacingMode mode = facing_mode(part);
    const Vec3 got = facing_of(tree, part);
    const Vec3 up = world_axis(tree, part, {0, 1, 0});
    if (mode == FacingMode::plain) {
        const V3d d = toward_eye(tree, part);
        if (d.length() < min_distance) return "";
        if (near(got, vec3(d.normalized()), tolerance)) return "";
    } else {
        const FacingError error = facing_error(tree, part, min_distance);
        if (std::isnan(error.facing) || (error.facing <= tolerance && error.roll <= tolerance)) return "";
    }
    const char* label = mode == FacingMode::upright ? "upright " : mode == FacingMode::exact ? "exact " : "";
    char text[448];
    std::snprintf(text, sizeof text,
                  "%s%s faces (%.7g, %.7g, %.7g) with +Y along (%.7g, %.7g, %.7g); pivot (%.7g, %.7g, %.7g), "
                  "eye (%.7g, %.7g, %.7g)",
                  label, tree.path_of(part).c_str(), double(got.x), double(got.y), double(got.z), double(up.x),
                  double(up.y), double(up.z), double(center.x), double(center.y), double(center.z), double(eye.x),
                  double(eye.y), double(eye.z));
    return text;
}

}  // namespace refhost
