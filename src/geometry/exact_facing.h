// The turn of a part that faces the eye exactly, whatever the frame it sits
// in: built in that frame from where the part's axes must point in the world,
// with no decomposition and no host rotation.
#pragma once

#include "geometry/primitives.h"

namespace ftv {

enum class ExactAim {
    // +Z exactly along the direction to the eye; +Y in the plane of that
    // direction and world up (+Y), on the up side: the part does not roll.
    face,
    // +Y exactly world up; +Z's horizontal part exactly along the horizontal
    // part of the direction to the eye.
    upright,
};

// Below this share of the largest determinant that rows of their lengths can
// have (the product of those lengths), a frame's rows lie too close to a
// plane for doubles to fix the turn: the frame counts as flat.
inline constexpr double kExactFlatShare = 1e-10;

// The part's new transformation T(-pivot) * Q * T(pivot), with Q a rotation
// (orthonormal rows, determinant +1) in the part's parent frame, so that the
// part's axes carried through Q and then frame point as aim asks.
//
// frame is the matrix that carries the coordinates in which the part's own
// transformation is expressed into world coordinates (the host's
// local_to_world of the part, which excludes the part's own transformation):
// its upper 3x3 block divided by m[3][3] is the frame's linear part L, and
// column 3 is never read. direction is the world direction from the pivot
// toward the eye, of any length. Q is built from L^-1 applied to the two world
// targets and made orthonormal in the parent frame (the primary axis kept,
// the other made perpendicular to it), so that it holds for every invertible
// frame: turned about several axes, at exactly +-90 degrees, mirrored,
// unevenly scaled or sheared (a mirrored frame still shows the part
// mirrored: Q itself never mirrors). Intermediates are doubles; every element
// of Q, and then each of row 3, is stored as a float.
//
// Returns false, leaving out untouched, where no sound turn exists:
// - direction is zero or not finite (the eye at the pivot);
// - upright, direction is vertical (x and z both zero): it has no horizontal
//   part to follow;
// - m[3][3] is zero or not finite, an element of L is not finite, or L is
//   flat (|det L| at most kExactFlatShare of the product of its row lengths);
// - pivot is not finite, or an element of row 3 overflows.
// Facing a vertical direction (x and z both zero, the eye straight above or
// below the pivot), face turns +Y toward world -Z for an eye above and +Z for
// one below: the roll it takes as the eye comes over from the +Z side.
//
// The result depends only on its inputs: given the same frame, pivot and
// direction it gives the same bits, on every build.
bool exact_facing_transform(const Mat4& frame, const Vec3& pivot, const Vec3& direction, ExactAim aim, Mat4& out);

}  // namespace ftv
