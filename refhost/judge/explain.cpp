#include "judge/explain.h"

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <limits>

#include <ImathMatrixAlgo.h>

#include "geometry/decompose.h"
#include "host/plugin_id.h"
#include "judge/plugin_conventions.h"
#include "scene/imath_values.h"

namespace refhost {

namespace {

constexpr double kDegrees = 180 / M_PI;

// What the plug-in learns of the frame a part sits in, worked out again by
// Imath in double: scale, shear (XY, XZ, YZ), mirroring and the angles of
// Rx * Ry * Rz, with the decomposition's rule within kGimbalCosine of +-90
// degrees about Y (the X and Z turns are then told only together, all in X).
// Also the lengths of its rows (divided by w, as the plug-in reads them),
// each taken perpendicular to the rows before it: the plug-in makes them unit
// length in floats, which it cannot where one is 0 (the frame is flat), or
// at most 2^-128, or beyond the float range.
struct FrameShape {
    Imath::V3d scale{0, 0, 0}, shear{0, 0, 0}, angle{0, 0, 0};
    bool mirrored = false;
    double cos_y = 1;
    double shortest = 1, longest = 1;
    bool flat = false;  // to within rounding: Imath cannot take the scale out of a row
};

FrameShape shape_of(const ftv::Mat4& m) {
    FrameShape s;
    Imath::V3d r[3];
    for (int i = 0; i < 3; ++i) r[i] = Imath::V3d(m.m[i][0], m.m[i][1], m.m[i][2]) / double(m.m[3][3]);
    const double across_01 = (r[0] % r[1]).length();
    const double lengths[] = {r[0].length(), across_01 / r[0].length(), std::fabs(r[0] ^ (r[1] % r[2])) / across_01};
    s.shortest = std::fmin(lengths[0], std::fmin(lengths[1], lengths[2]));
    s.longest = std::fmax(lengths[0], std::fmax(lengths[1], lengths[2]));
    Imath::V3d translation;
    if (!Imath::extractSHRT(imath(m), s.scale, s.shear, s.angle, translation, false)) {
        s.flat = true;
        return s;
    }
    s.mirrored = s.scale.x < 0;
    s.cos_y = std::cos(s.angle.y);
    if (std::fabs(s.cos_y) <= ftv::kGimbalCosine) {
        // The frame fixes X - Z at +90 degrees, X + Z at -90.
        s.angle.x = s.angle.y > 0 ? s.angle.x - s.angle.z : s.angle.x + s.angle.z;
        s.angle.z = 0;
    }
    return s;
}

std::string format(const char* pattern, double a, double b = 0, double c = 0) {
    char text[256];
    std::snprintf(text, sizeof text, pattern, a, b, c);
    return text;
}

}  // namespace

std::string frame_causes(const SceneTree& scene, const Node& part) {
    const ftv::Mat4 frame = scene.local_to_world(part);
    std::string causes;
    const auto add = [&causes](const std::string& cause) { causes += (causes.empty() ? "" : ", and ") + cause; };
    if (frame.m[3][3] < 0)
        add(format("has a negative w (%.4g), by which the plug-in divides the frame and the host does not: the "
                   "plug-in's aim is the host's half turn",
                   frame.m[3][3]));
    if (facing_mode(part) == FacingMode::plain) {
        // What the plug-in's compensation, the frame's angles negated and
        // applied in the order X, Y, Z, does not undo.
        const FrameShape s = shape_of(frame);
        const bool beyond_floats = s.shortest > 0 && (s.shortest <= 0x1p-128 || !(s.longest <= FLT_MAX));
        if (beyond_floats) {
            add(format("is scaled too small or too large (a row %.3g to %.3g long) for the plug-in to tell its "
                       "turns in floats",
                       s.shortest, s.longest));
        } else if (s.flat || !(s.shortest > 0)) {
            add("is flat: its rows lie in a plane, so it has no turns to tell");
        }
        if (s.mirrored) add("is mirrored, which the plug-in's compensation does not undo");
        const double largest =
            std::fmax(std::fabs(s.scale.x), std::fmax(std::fabs(s.scale.y), std::fabs(s.scale.z)));
        bool uneven = false;
        for (int i = 0; i < 3; ++i)
            uneven = uneven || std::fabs(std::fabs(s.scale[i]) - largest) > 1e-5 * largest ||
                     std::fabs(s.shear[i]) > 1e-5;
        if (uneven)
            add(format("is scaled unevenly (%.4g, %.4g, %.4g) or sheared, which the plug-in does not undo",
                       std::fabs(s.scale.x), std::fabs(s.scale.y), std::fabs(s.scale.z)));
        if (std::fabs(s.cos_y) < 0.02)
            add(format("is turned %.3f° about Y, near ±90°, where its X and Z turns are told imprecisely",
                       s.angle.y * kDegrees));
        int axes = 0;
        for (int i = 0; i < 3; ++i) axes += std::fabs(s.angle[i]) > 1e-6;
        if (axes > 1)
            add(format("is turned about more than one axis (X %.2f°, Y %.2f°, Z %.2f°), which the plug-in undoes "
                       "in the order X, Y, Z rather than Z, Y, X",
                       s.angle.x * kDegrees, s.angle.y * kDegrees, s.angle.z * kDegrees));
    }
    return causes.empty() ? "" : "its parent " + scene.path_of(*part.parent()) + " " + causes;
}

namespace {

// A tag-1 part off the eye is one that tag 3 would turn exactly.
constexpr char kExactHint[] = "; tag 3 (face exactly) turns it exactly";

// What keeps a turned part off the eye, as far as the judge can tell.
std::string cause_off_eye(const SceneTree& scene, const Node& part) {
    const std::string causes = frame_causes(scene, part);
    if (facing_mode(part) != FacingMode::plain) {
        // The exact modes leave nothing of a frame uncompensated: a part off
        // its aim was moved or its frame changed after the last pass.
        return causes.empty() ? "the scene changed after the last pass" : causes;
    }
    return (causes.empty() ? "not explained by the frame of its parent " + scene.path_of(*part.parent()) : causes) +
           kExactHint;
}

PartExplanation explain_turned(const SceneTree& scene, const Node& part) {
    PartExplanation out{&part, true, "", std::numeric_limits<double>::quiet_NaN()};
    if (part.transformations_set == 0) {
        out.why = "no update pass has turned it yet";
        return out;
    }
    if (std::string why = no_direction_because(scene, part); !why.empty()) {
        out.why = why + ": it has no direction to face";
        return out;
    }
    constexpr double kMinDistance = 1e-6;
    const FacingError error = facing_error(scene, part, kMinDistance);
    if (std::isnan(error.facing)) {
        const bool at_pivot = (imath(scene.camera_data().eye) - imath(pivot_of(scene, part))).length() < kMinDistance;
        out.why = at_pivot ? "the eye is at its pivot" : "its turned frame is not finite in floats";
        return out;
    }
    const auto degrees = [](double apart) { return 2 * std::asin(std::fmin(1.0, apart / 2)) * kDegrees; };
    out.degrees_off = degrees(error.facing);
    if (faces_eye(scene, part, facing_tolerance(scene, part), kMinDistance).empty()) return out;
    out.why = cause_off_eye(scene, part);
    if (facing_mode(part) != FacingMode::plain)
        out.why = format("its +Y is %.3f° off upright; ", degrees(error.roll)) + out.why;
    return out;
}

std::string rule_reason(const Node& part) {
    const std::string marker = std::string("\"") + ftv::kMarkerName + "\"";
    switch (tag_rule(part)) {
        case TagRule::turned: break;
        case TagRule::empty_stream: return "the stream holds no value, which reads as 0";
        case TagRule::tag_zero: return "the stream holds 0";
        case TagRule::no_children: return "it has no children; its first child must be " + marker;
        case TagRule::marker_misnamed: return "first child is named \"" + part.first()->name + "\", not " + marker;
        case TagRule::marker_not_first:
            return marker + " is child " + std::to_string(marker_position(part)) + ", not the first";
    }
    return "";
}

// The parts below root, in the order of the scene, each with its holder: the
// outermost part above it that carries the stream, which the walk does not
// enter, or null. A list of parts still to visit, not the stack: a scene may be
// as deep as the group creator made it.
void explain_below(const SceneTree& scene, const Node& root, bool switch_on, std::vector<PartExplanation>& out) {
    std::vector<std::pair<const Node*, const Node*>> pending;
    const auto enter = [&pending](const Node& parent, const Node* holder) {
        for (const Node* child = parent.last(); child != nullptr; child = child->prev())
            if (child->is_part()) pending.emplace_back(child, holder);
    };
    enter(root, nullptr);
    while (!pending.empty()) {
        const auto [child, holder] = pending.back();
        pending.pop_back();
        const bool has_stream = child->stream(ftv::kMainId) != nullptr;
        if (has_stream) {
            if (holder != nullptr) {
                const bool tagged = plugin_value(*holder).value_or(0) != 0;
                out.push_back({child, false,
                               std::string("inside the ") + (tagged ? "tagged " : "") + "part " +
                                   scene.path_of(*holder) + ", which the walk does not enter"});
            } else if (tag_rule(*child) != TagRule::turned) {
                out.push_back({child, false, rule_reason(*child)});
            } else if (const std::string kept = kept_because(scene, *child); !kept.empty()) {
                out.push_back({child, false, kept});
            } else if (!switch_on) {
                out.push_back({child, false, "switched off"});
            } else {
                out.push_back(explain_turned(scene, *child));
            }
        }
        enter(*child, holder != nullptr || !has_stream ? holder : child);
    }
}

}  // namespace

std::vector<PartExplanation> explain_parts(const SceneTree& scene, bool switch_on) {
    std::vector<PartExplanation> out;
    explain_below(scene, scene.root(), switch_on, out);
    return out;
}

std::string explanation_line(const SceneTree& scene, const PartExplanation& explanation) {
    const std::string path = scene.path_of(*explanation.part);
    if (!explanation.turned) return path + ": not turned: " + explanation.why;
    if (std::isnan(explanation.degrees_off)) return path + ": turned, but " + explanation.why;
    const FacingMode mode = facing_mode(*explanation.part);
    const char* how = mode == FacingMode::upright ? ": turned upright exactly, "
                      : mode == FacingMode::exact ? ": turned exactly, "
                                                           : ": turned, ";
    const std::string line = path + how + format("%.3f°", explanation.degrees_off) +
                             (mode == FacingMode::upright ? " from the eye's horizontal direction" : " from the eye");
    return explanation.why.empty() ? line : line + ": " + explanation.why;
}

}  // namespace refhost
