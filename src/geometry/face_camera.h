// The value math of turning a part toward the eye about its pivot.
#pragma once

#include "geometry/primitives.h"

namespace ftv {

// The unit direction from the pivot, given in the part's coordinates and
// carried to world coordinates by part_to_world, toward the eye. (0, 0, 0)
// when the eye lies exactly at the pivot; otherwise normalize's rules.
void direction_to_eye(const Mat4& part_to_world, const Vec3& pivot, const Vec3& eye, Vec3& out);

// T(-pivot) * turn * Rx(-angles.x) * Ry(-angles.y) * Rz(-angles.z) * T(pivot),
// accumulated from the left starting at the identity. The axis factors come
// in the order X, Y, Z with negated angles; they are not the inverse of
// Rx * Ry * Rz (which would take the order Z, Y, X). When turn carries no
// translation, the pivot is a fixed point of the result.
void facing_transform(const Vec3& pivot, const Mat4& turn, const Vec3& angles, Mat4& out);

}  // namespace ftv
