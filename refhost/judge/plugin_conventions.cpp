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

// v rounded to floats as IEEE arithmetic rounds: beyond the float range, to
// an infinity. (Converting such a double is undefined in C++, and GCC 12 at
// -O2 has been seen to keep the double's value instead.)
constexpr double kRoundsToInfinity = 0x1.ffffffp+127;  // halfway from the largest float to 2^128
float to_float(double v) {
    if (std::fabs(v) >= kRoundsToInfinity) return v > 0 ? HUGE_VALF : -HUGE_VALF;
    return static_cast<float>(v);
}
Vec3 to_float(const V3d& v) { return {to_float(v.x), to_float(v.y), to_float(v.z)}; }

// The direction from the pivot to the eye.
V3d toward_eye(const SceneTree& tree, const Node& part) {
    return imath(tree.camera_data().eye) - imath(pivot_of(tree, part));
}

// The direction to the eye as the plug-in aims a part: eye minus pivot in
// floats, made unit length and rounded to floats (so that an eye nearly
// overhead may be exactly overhead), then unit length in doubles. Zero when
// there is none.
V3d aim_of(const SceneTree& tree, const Node& part) {
    const Vec3 eye = tree.camera_data().eye, pivot = pivot_of(tree, part);
    const V3d d = imath(Vec3{eye.x - pivot.x, eye.y - pivot.y, eye.z - pivot.z});
    const double length = d.length();
    if (!(length > 0) || !std::isfinite(length)) return V3d(0, 0, 0);
    return imath(to_float(d / length)).normalized();
}

bool near(const Vec3& a, const Vec3& b, double tolerance) {
    return std::fabs(a.x - b.x) <= tolerance && std::fabs(a.y - b.y) <= tolerance && std::fabs(a.z - b.z) <= tolerance;
}

}  // namespace

Vec3 pivot_of(const SceneTree& tree, const Node& part) {
    const M44d frame = imath(tree.local_to_world(part));
    V3d carried;
    frame.multDirMatrix(imath(tree.local_center(*part.first())), carried);
    carried += frame.translation();
    const Vec3 pivot = to_float(carried);
    const double w = frame[3][3];
    if (w == 1) return pivot;
    // Unlike the host, the plug-in reads a frame divided by its w: it takes the
    // point carried through the frame, in floats, times 1 / w.
    return to_float(imath(pivot) * (1 / w));
}

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
        // Where the frame's elements are subnormal floats, the rounding of its
        // product with the turn is 2^-150 whatever their size, which turns a
        // row by up to 2^-148 over the frame's smallest stretch, at least
        // |det L| / |L|^2.
        const double det = std::fabs(r0 ^ (r1 % r2));
        return 1e-6 + 1e-7 * frobenius * frobenius * frobenius / det + 0x1p-148 * frobenius * frobenius / det;
    }
    const V3d r0 = row(m, 0);
    const double cos_y = r0.length() > 0 ? std::sqrt(r0.x * r0.x + r0.y * r0.y) / r0.length() : 1;
    return 1e-5 + 2e-7 / std::max(cos_y, double(ftv::kGimbalCosine));
}


std::string no_direction_because(const SceneTree& tree, const Node& part) {
    // The direction as the plug-in takes it: eye minus pivot, in floats, then
    // made unit length in floats, which leaves nothing of a direction whose
    // length is beyond the float range.
    const Vec3 eye = tree.camera_data().eye, pivot = pivot_of(tree, part);
    if (!std::isfinite(eye.x) || !std::isfinite(eye.y) || !std::isfinite(eye.z)) return "the eye is not finite";
    if (!std::isfinite(pivot.x) || !std::isfinite(pivot.y) || !std::isfinite(pivot.z))
        return "its pivot, carried into the world, is beyond the float range";
    const Vec3 d{eye.x - pivot.x, eye.y - pivot.y, eye.z - pivot.z};
    if (d.x == 0 && d.y == 0 && d.z == 0) return "the eye is at its pivot";
    if (!std::isfinite(to_float(imath(d).length())))
        return "the eye is farther from its pivot than the float range reaches";
    return "";
}

namespace {

// Whether x * 2^n is at most m * 2^e, without computing x * 2^n, which may
// lie beyond the double range.
bool at_most(double x, int n, double m, int e) {
    if (x == 0) return true;
    int x_exponent;
    const double x_mantissa = std::frexp(std::fabs(x), &x_exponent);  // in [0.5, 1)
    const int gap = e - x_exponent - n;
    if (gap > 2) return true;
    if (gap < -2) return false;
    return x_mantissa <= std::ldexp(m, gap);
}

double largest(const V3d& v) { return std::fmax(std::fabs(v.x), std::fmax(std::fabs(v.y), std::fabs(v.z))); }
V3d absolute(const V3d& v) { return V3d(std::fabs(v.x), std::fabs(v.y), std::fabs(v.z)); }
// The sizes of the terms of a cross product, which bound its rounding.
V3d cross_terms(const V3d& a, const V3d& b) {
    return V3d(std::fabs(a.y * b.z) + std::fabs(a.z * b.y), std::fabs(a.z * b.x) + std::fabs(a.x * b.z),
               std::fabs(a.x * b.y) + std::fabs(a.y * b.x));
}

// The frame's linear part times 2^-k, its largest element in [0.5, 1):
// exact, and free of over- and underflow.
Imath::M33d scaled_to_one(const Imath::M33d& linear, int& k) {
    double size = 0;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) size = std::fmax(size, std::fabs(linear[i][j]));
    std::frexp(size, &k);
    return linear * std::ldexp(1.0, -k);
}

V3d row_of(const Imath::M33d& m, int i) { return V3d(m[i][0], m[i][1], m[i][2]); }

// The turn R of an upright or exact part in its parent frame, frame L: its
// rows are where the part's axes go there. The primary axis (exact +Z,
// upright +Y) is the primary target carried through L's inverse; X is
// perpendicular to both carried targets, which is the targets' own cross
// product carried through L's transpose (taken so, it does not cancel where
// the carried targets nearly coincide); the third completes the frame.
Imath::M33d parent_turn(const Imath::M33d& linear, const V3d& primary, const V3d& secondary, FacingMode mode) {
    const bool upright = mode == FacingMode::upright;
    const V3d carried = (primary * linear.inverse()).normalized();
    const V3d normal = upright ? primary % secondary : secondary % primary;
    const double sign = linear.determinant() > 0 ? 1 : -1;
    const V3d x = (V3d(row_of(linear, 0) ^ normal, row_of(linear, 1) ^ normal, row_of(linear, 2) ^ normal) * sign)
                      .normalized();
    const V3d y = upright ? carried : carried % x;
    const V3d z = upright ? x % carried : carried;
    return Imath::M33d(x.x, x.y, x.z, y.x, y.y, y.z, z.x, z.y, z.z);
}

constexpr char kDecidedByRounding[] =
    "its parent's frame is so ill-conditioned that the rounding of doubles decides whether the plug-in finds "
    "a turn";

// Why the plug-in cannot work out an upright or exact turn in doubles, or
// empty. It carries the two world targets (primary, secondary) through the
// frame's adjugate, its inverse times its determinant, which grows as the
// square of the frame, and crosses the two results, which grows as its
// fourth power; a product of two components beyond the double range, or a
// vector whose squared length overflows, or whose every component squared
// underflows to 0, leaves it no direction. The judge finds those sizes with
// the frame scaled by a power of two, exactly, so that nothing over- or
// underflows, and compares them scaled back. Where they lie within the
// rounding of the plug-in's arithmetic of those limits, the rounding decides.
std::string turn_out_of_doubles(const Imath::M33d& linear, const V3d& primary, const V3d& secondary) {
    int k;
    const Imath::M33d scaled = scaled_to_one(linear, k);
    const V3d r0 = row_of(scaled, 0), r1 = row_of(scaled, 1), r2 = row_of(scaled, 2);
    const double det = scaled.determinant();
    const Imath::M33d adjugate = scaled.inverse() * det;
    const V3d along = primary * adjugate, across_it = secondary * adjugate;
    // The cross product of the two carried targets is det L times their own
    // cross product carried through L's transpose: taken so, it does not
    // cancel where the frame's rows differ in size by many orders.
    const V3d normal = primary % secondary;
    const V3d side = V3d(r0 ^ normal, r1 ^ normal, r2 ^ normal) * det;
    // The rounding of each, generously: 2^-48 of the terms summed.
    constexpr double kRounding = 0x1p-48;
    const Imath::M33d adjugate_terms = [&] {
        const V3d c0 = cross_terms(r1, r2), c1 = cross_terms(r2, r0), c2 = cross_terms(r0, r1);
        return Imath::M33d(c0.x, c1.x, c2.x, c0.y, c1.y, c2.y, c0.z, c1.z, c2.z);
    }();
    const V3d along_error = absolute(primary) * adjugate_terms * kRounding;
    const V3d across_error = absolute(secondary) * adjugate_terms * kRounding;
    const V3d side_error = cross_terms(absolute(across_it), along_error) +
                           cross_terms(across_error, absolute(along)) + cross_terms(across_it, along) * kRounding;
    // A square underflows to 0 at or below 2^-1075 (every component at most
    // 2^-537.5); a squared length overflows from 2^1024. Where the rounding
    // of the plug-in's terms comes near the overflow (20 binades), or where
    // the value is not well above the underflow (16 binades) and the rounding
    // could reach it or the value, the rounding may decide: -1.
    const double kRootHalf = std::sqrt(0.5);
    const auto direction = [&](const V3d& v, const V3d& error, int n) {
        const double big = largest(v), slack = largest(error);
        if (!at_most(v.length(), n, 1, 512)) return 0;
        if (!at_most(slack, n, 1, 512 - 20)) return -1;
        if (at_most(big, n, kRootHalf, -537 + 16) && !at_most(slack, n, kRootHalf, -537 - 20) && slack > 0x1p-20 * big)
            return -1;
        // A component that its rounding may cancel to 0 leaves only the
        // others, which may all underflow.
        bool kept_above = false, cancelled_above = false, kept_any = false;
        for (int i = 0; i < 3; ++i) {
            const bool kept = std::fabs(v[i]) > error[i], above = !at_most(v[i], n, kRootHalf, -537);
            kept_any = kept_any || kept;
            kept_above = kept_above || (kept && above);
            cancelled_above = cancelled_above || (!kept && above);
        }
        if (cancelled_above && kept_any && !kept_above) return -1;
        return at_most(big, n, kRootHalf, -537) ? 0 : 1;
    };
    double widest_product = 0;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            if (i != j) widest_product = std::fmax(widest_product, std::fabs(across_it[i] * along[j]));
    const int along_has = direction(along, along_error, 2 * k), side_has = direction(side, side_error, 4 * k);
    if (along_has == 0 || side_has == 0 || !at_most(widest_product, 4 * k, 1, 1023))
        return "its parent's frame is too large or too small for the plug-in to work out the turn in doubles";
    return along_has < 0 || side_has < 0 ? kDecidedByRounding : "";
}

// Why the turn about the pivot moves the part beyond the float range, or
// empty: its new transformation is R about the pivot p, which moves the
// part's coordinates by p - p * R, each rounded to a float. The plug-in's R
// is good to its rounding to floats and to 2^-50 c, c the condition of the
// frame (|L|^3 / |det L|, as facing_tolerance takes it), and any R moves
// them by at most 2 |p|: where the move lies within that much of the float
// range, the rounding decides.
std::string move_out_of_floats(const Imath::M33d& linear, const V3d& primary, const V3d& secondary,
                               FacingMode mode, const Vec3& pivot) {
    int k;
    const Imath::M33d scaled = scaled_to_one(linear, k);
    const Imath::M33d turn = parent_turn(scaled, primary, secondary, mode);
    const V3d p = imath(pivot);
    const V3d move = p - p * turn;
    double frobenius2 = 0;
    for (int i = 0; i < 3; ++i) frobenius2 += row_of(scaled, i).length2();
    const double condition = frobenius2 * std::sqrt(frobenius2) / std::fabs(scaled.determinant());
    const double slack = p.length() * std::fmin(2, 0x1p-21 + 0x1p-50 * condition);
    bool beyond = false, undecided = false;
    for (int j = 0; j < 3; ++j) {
        beyond = beyond || std::fabs(move[j]) >= kRoundsToInfinity;
        undecided = undecided || std::fabs(std::fabs(move[j]) - kRoundsToInfinity) < slack;
    }
    if (undecided) return kDecidedByRounding;
    return beyond ? "turning it about its pivot would move it beyond the float range" : "";
}

}  // namespace

std::string kept_because(const SceneTree& tree, const Node& part) {
    const FacingMode mode = facing_mode(part);
    if (mode == FacingMode::plain) return "";
    const ftv::Mat4 frame = tree.local_to_world(part);
    const double w = frame.m[3][3];
    bool finite = std::isfinite(w) && w != 0;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) finite = finite && std::isfinite(frame.m[i][j]);
    if (!finite) return "its parent's frame is not finite";
    const V3d r0 = row(frame, 0) / w, r1 = row(frame, 1) / w, r2 = row(frame, 2) / w;
    if (!(std::fabs(r0 ^ (r1 % r2)) > ftv::kExactFlatShare * r0.length() * r1.length() * r2.length()))
        return "its parent's frame is flat: it has no inverse to turn it in";
    if (std::string why = no_direction_because(tree, part); !why.empty()) return why;
    const V3d unit = aim_of(tree, part);
    const V3d level(unit.x, 0, unit.z);
    if (mode == FacingMode::upright && level.length() == 0)
        return "the eye is straight above or below its pivot: there is no horizontal direction to face";
    // The world targets: upright, +Y up and +Z toward the eye's horizontal
    // direction; exact, +Z toward the eye and +Y toward up across it (for an
    // eye straight above, -Z; below, +Z).
    const V3d up(0, 1, 0);
    const V3d primary = mode == FacingMode::upright ? up : unit;
    const V3d secondary = mode == FacingMode::upright ? level.normalized()
                          : level.length() == 0   ? V3d(0, 0, -unit.y)
                                                  : across(up, unit).normalized();
    const Imath::M33d linear(r0.x, r0.y, r0.z, r1.x, r1.y, r1.z, r2.x, r2.y, r2.z);
    if (std::string why = turn_out_of_doubles(linear, primary, secondary); !why.empty()) return why;
    return move_out_of_floats(linear, primary, secondary, mode, tree.local_center(*part.first()));
}

bool rounding_decides(const SceneTree& tree, const Node& part) { return kept_because(tree, part) == kDecidedByRounding; }

FacingError facing_error(const SceneTree& tree, const Node& part, double min_distance) {
    constexpr double kUndefined = std::numeric_limits<double>::quiet_NaN();
    const FacingMode mode = facing_mode(part);
    const V3d d = toward_eye(tree, part), aim = aim_of(tree, part);
    const V3d z = imath(facing_of(tree, part));
    const V3d y = imath(world_axis(tree, part, {0, 1, 0}));
    const V3d up(0, 1, 0);
    if (mode == FacingMode::upright) {
        if (V3d(d.x, 0, d.z).length() < min_distance) return {kUndefined, kUndefined};
        return {apart(V3d(z.x, 0, z.z), V3d(aim.x, 0, aim.z)), apart(y, up)};
    }
    if (d.length() < min_distance) return {kUndefined, kUndefined};
    if (mode == FacingMode::plain) return {apart(z, aim), 0};
    const V3d level_up = aim.x == 0 && aim.z == 0 ? V3d(0, 0, -aim.y) : across(up, aim);
    return {apart(z, aim), apart(across(y, aim), level_up)};
}

std::string faces_eye(const SceneTree& tree, const Node& part, double tolerance, double min_distance) {
    const Vec3 center = pivot_of(tree, part);
    const Vec3 eye = tree.camera_data().eye;
    const FacingMode mode = facing_mode(part);
    const Vec3 got = facing_of(tree, part);
    const Vec3 up = world_axis(tree, part, {0, 1, 0});
    if (mode == FacingMode::plain) {
        if (toward_eye(tree, part).length() < min_distance) return "";
        if (near(got, vec3(aim_of(tree, part)), tolerance)) return "";
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
