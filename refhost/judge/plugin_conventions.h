// The plug-in's conventions in a reference scene, for whoever builds scenes
// for it and judges what it did: a tagged part with its "#center" marker,
// the stored switch, which tagged parts the walk reaches, and whether a part
// faces the eye. Written from the conventions, not from the plug-in's code.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "scene/scene_tree.h"

namespace refhost {

// A square in the XY plane about center, facing +Z, size from centre to side.
Mesh square(const ftv::Vec3& center, float size);

// A part the walk turns when it reaches it: the plug-in's stream holding tag
// (none: no stream), a "#center" marker at center as its first child, then,
// unless face is 0, a square face of that size named name + " face".
const Node& add_billboard(SceneTree& tree, const Node& parent, const std::string& name, ftv::Vec3 center,
                          std::optional<std::int32_t> tag = 1, float face = 1);

// The switch as the scene stores it: the first value of the root part's stream.
void store_switch(SceneTree& tree, std::int32_t value);
bool stored_switch_on(const SceneTree& tree);
// The first value of a shape's plug-in stream, if it has one with a value.
std::optional<std::int32_t> plugin_value(const Node& node);

// What the walk does with a part it reaches that carries the plug-in's
// stream: it turns the part when the stream starts with a non-zero tag and
// the first child is named "#center", byte for byte; else it leaves it, for
// the first of these reasons. It enters a part without the stream, and no
// other.
enum class TagRule {
    turned,
    empty_stream,      // the stream holds no value: it reads as 0
    tag_zero,          // the stream holds 0
    no_children,
    marker_misnamed,   // the first child has another name
    marker_not_first,  // a later child is named "#center"
};
TagRule tag_rule(const Node& part);
// The number, counted from 1, of the first child named "#center"; 0 for none.
std::size_t marker_position(const Node& part);
// Whether the walk turns the part when it reaches it.
bool is_turned_when_reached(const Node& part);
// The tagged parts the walk reaches, depth first in list order.
std::vector<const Node*> reached_tagged(const SceneTree& tree);

// How the part's tag asks it to turn: 2 upright, 3 exactly, any other value
// toward the eye with the parent's turns undone in the order X, Y, Z.
enum class FacingMode { plain, upright, exact };
FacingMode facing_mode(const Node& part);
// The part's pivot as the plug-in finds it, in world coordinates: its first
// child's centre carried through the part's frame, then divided by the
// frame's w (m[3][3]), which the host does not do.
ftv::Vec3 pivot_of(const SceneTree& tree, const Node& part);
// The world direction of one of the part's axes, unit length.
ftv::Vec3 world_axis(const SceneTree& tree, const Node& part, const ftv::Vec3& axis);
// The world direction of the part's +Z axis, unit length.
ftv::Vec3 facing_of(const SceneTree& tree, const Node& part);
// How closely a plain part can face the eye: 1e-5, and more where the
// rotation of the part that holds it nears +-90 degrees about Y. The plug-in
// learns that rotation's angles by decomposing its matrix, whose Y angle is
// the arcsine of a float, so its rounding (6e-8) grows there by 1 / cos Y
// (below cos Y = kGimbalCosine the decomposition folds the Z turn into X instead).
// An upright or exact part: 1e-6 plus 1e-7 times |L|^3 / |det L|
// (Frobenius norm), L the 3x3 of its frame, which bounds the frame's
// condition: the rounding of the stored turn to floats grows by it; plus
// 2^-148 |L|^2 / |det L| for the rounding of subnormal elements.
double facing_tolerance(const SceneTree& tree, const Node& part);

// Why the plug-in has no direction from the part's pivot to the eye to turn
// it toward: the eye or the pivot (pivot_of) is not finite, the eye is at the
// pivot, or farther from it than the float range reaches. Empty when it has
// one.
std::string no_direction_because(const SceneTree& tree, const Node& part);

// Why an upright or exact part that the walk reaches keeps the
// transformation it has, as it stands now: a frame that is not finite or is
// flat, no direction to the eye (above), an upright part's eye straight above
// or below it, a frame too large or small for the turn to be worked out in
// doubles, or a turn about the pivot that moves the part beyond the float
// range. Empty when the plug-in turns it (and for a plain part).
std::string kept_because(const SceneTree& tree, const Node& part);
// Whether kept_because calls the part kept only because its frame is so
// ill-conditioned that the rounding of the plug-in's doubles decides whether
// it finds a turn: the pass may turn it or not.
bool rounding_decides(const SceneTree& tree, const Node& part);

// How far a turned part is from what its mode asks, as the distance between
// unit directions, 2 sin(angle / 2): the angle in radians to within 1e-12 of
// it below 1e-4. The direction to the eye is the one the plug-in aims at: from
// the pivot it found before the turn (pivot_of), in floats, made unit length
// in floats (an eye within rounding of overhead is overhead).
// - facing: the angle between +Z and the direction to the eye (upright:
//   between their horizontal parts);
// - roll: exact, the angle between +Y and world up, both taken perpendicular
//   to the direction to the eye (where that direction is vertical, between
//   +Y and world -Z for an eye above, +Z below: the roll the eye gets coming
//   over from the +Z side); upright, the angle between +Y and world up; plain, 0.
// Both are not numbers while the eye is closer to the pivot than
// min_distance (upright: horizontally), where the direction is not defined.
struct FacingError {
    double facing, roll;
};
FacingError facing_error(const SceneTree& tree, const Node& part, double min_distance = 1e-3);

// Empty when the part faces the eye as its mode asks: plain, its +Z axis
// toward the eye, each component within tolerance of the unit direction;
// upright or exact, facing and roll (above) within tolerance; or when
// the direction is not defined (closer than min_distance). Otherwise what is
// wrong.
std::string faces_eye(const SceneTree& tree, const Node& part, double tolerance, double min_distance = 1e-3);

}  // namespace refhost
