#include "judge/plugin_conventions.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "behaviour/part_tag.h"
#include "geometry/exact_facing.h"
#include "host/plugin_id.h"
#include "scene/host_math.h"

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
    if (part.first()->name == kPivotName) return TagRule::turned;
    return marker_position(part) > 0 ? TagRule::marker_not_first : TagRule::marker_misnamed;
}

std::size_t marker_position(const Node& part) {
    std::size_t position = 1;
    for (const Node* child = part.first(); child != nullptr; child = child->next(), ++position)
        if (child->name == kPivotName) return position;
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

double length(const Vec3& v) { return std::sqrt(double(v.x) * v.x + double(v.y) * v.y + double(v.z) * v.z); }

Vec3 scaled(const Vec3& v, double s) {
    return {static_cast<float>(v.x * s), static_cast<float>(v.y * s), static_cast<float>(v.z * s)};
}

struct D3 {
    double x, y, z;
};
D3 operator-(D3 a, D3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
D3 operator*(D3 a, double k) { return {a.x * k, a.y * k, a.z * k}; }
double dot(D3 a, D3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
double norm(D3 a) { return std::sqrt(dot(a, a)); }
D3 from(const Vec3& v) { return {v.x, v.y, v.z}; }
D3 unit(D3 a) { return a * (1 / norm(a)); }
D3 cross(D3 a, D3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
// How far apart the directions of two non-zero vectors are: the distance
// between them made unit length, 2 sin(angle / 2). No C library
// trigonometry, whose results depend on the machine on the Windows build.
double apart(D3 a, D3 b) { return norm(unit(a) - unit(b)); }
// a without its component along the unit vector d.
D3 across(D3 a, D3 d) { return a - d * dot(a, d); }

// The pivot as the plug-in finds it, and the direction from it to the eye.
Vec3 pivot_of(const SceneTree& tree, const Node& part) {
    return transform_point(tree.local_center(*part.first()), tree.local_to_world(part));
}
D3 toward_eye(const SceneTree& tree, const Node& part) {
    return from(tree.camera_data().eye) - from(pivot_of(tree, part));
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
    const Vec3 v = transform_direction(axis, tree.content_matrix(part));
    const double n = length(v);
    return n > 0 ? scaled(v, 1 / n) : v;
}

Vec3 facing_of(const SceneTree& tree, const Node& part) { return world_axis(tree, part, {0, 0, 1}); }

double facing_tolerance(const SceneTree& tree, const Node& part) {
    if (part.parent() == nullptr) return 1e-5;
    const ftv::Mat4 m = tree.content_matrix(*part.parent());
    if (facing_mode(part) != FacingMode::plain) {
        const D3 r0{m.m[0][0], m.m[0][1], m.m[0][2]}, r1{m.m[1][0], m.m[1][1], m.m[1][2]}, r2{m.m[2][0], m.m[2][1], m.m[2][2]};
        const double frobenius = std::sqrt(dot(r0, r0) + dot(r1, r1) + dot(r2, r2));
        return 1e-6 + 1e-7 * frobenius * frobenius * frobenius / std::fabs(dot(r0, cross(r1, r2)));
    }
    const double x = m.m[0][0], y = m.m[0][1], z = m.m[0][2];
    const double row = std::sqrt(x * x + y * y + z * z);
    const double cos_y = row > 0 ? std::sqrt(x * x + y * y) / row : 1;
    return 1e-5 + 2e-7 / std::max(cos_y, 2e-4);
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
    const D3 r0 = D3{frame.m[0][0], frame.m[0][1], frame.m[0][2]} * (1 / w);
    const D3 r1 = D3{frame.m[1][0], frame.m[1][1], frame.m[1][2]} * (1 / w);
    const D3 r2 = D3{frame.m[2][0], frame.m[2][1], frame.m[2][2]} * (1 / w);
    if (!(std::fabs(dot(r0, cross(r1, r2))) > ftv::kExactFlatShare * norm(r0) * norm(r1) * norm(r2)))
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
    const D3 d = toward_eye(tree, part);
    const D3 z = from(facing_of(tree, part));
    const D3 y = from(world_axis(tree, part, {0, 1, 0}));
    const D3 up{0, 1, 0};
    if (mode == FacingMode::upright) {
        const D3 level{d.x, 0, d.z};
        if (norm(level) < min_distance) return {kUndefined, kUndefined};
        return {apart(D3{z.x, 0, z.z}, level), apart(y, up)};
    }
    if (norm(d) < min_distance) return {kUndefined, kUndefined};
    if (mode == FacingMode::plain) return {apart(z, d), 0};
    const D3 n = unit(d);
    const D3 level_up = n.x == 0 && n.z == 0 ? D3{0, 0, -n.y} : across(up, n);
    return {apart(z, d), apart(across(y, n), level_up)};
}

std::string faces_eye(const SceneTree& tree, const Node& part, double tolerance, double min_distance) {
    const Vec3 center = pivot_of(tree, part);
    const Vec3 eye = tree.camera_data().eye;
    const FacingMode mode = facing_mode(part);
    const Vec3 got = facing_of(tree, part);
    const Vec3 up = world_axis(tree, part, {0, 1, 0});
    if (mode == FacingMode::plain) {
        const D3 d = toward_eye(tree, part);
        const double distance = norm(d);
        if (distance < min_distance) return "";
        const D3 want = d * (1 / distance);
        if (near(got, Vec3{float(want.x), float(want.y), float(want.z)}, tolerance)) return "";
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
