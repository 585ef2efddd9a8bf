// The reference host's own matrix arithmetic. It judges the plug-in's
// results, so it shares no arithmetic with the plug-in: every element is
// computed in double and rounded to float once.
#pragma once

#include "geometry/primitives.h"

namespace refhost {

// a * b (a acts first).
ftv::Mat4 product(const ftv::Mat4& a, const ftv::Mat4& b);
// The inverse of an affine matrix (column 3 is (0, 0, 0, 1)); the identity
// when the upper 3x3 block is singular.
ftv::Mat4 affine_inverse(const ftv::Mat4& m);
// The shortest-arc rotation, in the row-vector convention, that turns the
// direction from onto the direction to. Opposite directions give a half turn
// about an axis perpendicular to from; a zero direction gives the identity.
ftv::Mat4 rotation_between(const ftv::Vec3& from, const ftv::Vec3& to);
// The point p (w = 1) carried through m; m's column 3 is taken as (0, 0, 0, 1).
ftv::Vec3 transform_point(const ftv::Vec3& p, const ftv::Mat4& m);
// The direction v (w = 0) carried through m.
ftv::Vec3 transform_direction(const ftv::Vec3& v, const ftv::Mat4& m);

}  // namespace refhost
