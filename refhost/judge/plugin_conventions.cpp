#include "judge/plugin_conventions.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

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

}  // namespace

bool is_upright(const Node& part) { return plugin_value(part) == 2; }

Vec3 world_axis(const SceneTree& tree, const Node& part, const Vec3& axis) {
    const Vec3 v = transform_direction(axis, tree.content_matrix(part));
    const double n = length(v);
    return n > 0 ? scaled(v, 1 / n) : v;
}

Vec3 facing_of(const SceneTree& tree, const Node& part) { return world_axis(tree, part, {0, 0, 1}); }

double facing_tolerance(const SceneTree& tree, const Node& part) {
    if (part.parent() == nullptr) return 1e-5;
    const ftv::Mat4 m = tree.content_matrix(*part.parent());
    const double x = m.m[0][0], y = m.m[0][1], z = m.m[0][2];
    const double row = std::sqrt(x * x + y * y + z * z);
    const double cos_y = row > 0 ? std::sqrt(x * x + y * y) / row : 1;
    return 1e-5 + 2e-7 / std::max(cos_y, 2e-4);
}

namespace {

bool near(const Vec3& a, const Vec3& b, double tolerance) {
    return std::fabs(a.x - b.x) <= tolerance && std::fabs(a.y - b.y) <= tolerance && std::fabs(a.z - b.z) <= tolerance;
}

}  // namespace

std::string faces_eye(const SceneTree& tree, const Node& part, double tolerance, double min_distance) {
    const Vec3 center = transform_point(tree.local_center(*part.first()), tree.local_to_world(part));
    const Vec3 eye = tree.camera_data().eye;
    const bool upright = is_upright(part);
    const Vec3 toward{eye.x - center.x, upright ? 0.0f : eye.y - center.y, eye.z - center.z};
    const double distance = length(toward);
    if (distance < min_distance) return "";
    const Vec3 want = scaled(toward, 1 / distance);
    const Vec3 got = facing_of(tree, part);
    const Vec3 up = world_axis(tree, part, {0, 1, 0});
    if (near(got, want, tolerance) && (!upright || near(up, {0, 1, 0}, tolerance))) return "";
    char text[448];
    std::snprintf(text, sizeof text,
                  "%s%s faces (%.7g, %.7g, %.7g) with +Y along (%.7g, %.7g, %.7g), the eye is toward (%.7g, %.7g, "
                  "%.7g); pivot (%.7g, %.7g, %.7g), eye (%.7g, %.7g, %.7g)",
                  upright ? "upright " : "", tree.path_of(part).c_str(), double(got.x), double(got.y),
                  double(got.z), double(up.x), double(up.y), double(up.z), double(want.x), double(want.y),
                  double(want.z), double(center.x), double(center.y), double(center.z), double(eye.x), double(eye.y),
                  double(eye.z));
    return text;
}

}  // namespace refhost
