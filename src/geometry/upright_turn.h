// The turn of an upright part: about the world's vertical only.
#pragma once

#include "geometry/primitives.h"

namespace ftv {

// The rotation about +Y that carries +Z onto the horizontal part of
// direction, (x, 0, z) made unit length: the axis_rotation about (0, 1, 0)
// with the cosine and sine, each stored as a float, of the angle
// atan2(direction.x, direction.z), taken with the deterministic trigonometry
// so that every build gives the same bits.
//
// Degenerate cases: a direction with no horizontal part (x and z both zero,
// of either sign: straight up or down, or the zero direction) gives angle 0,
// the identity. A component that is not a number gives a cosine and sine,
// and so a rotation block, that are not numbers.
void upright_turn(const Vec3& direction, Mat4& out);

}  // namespace ftv
