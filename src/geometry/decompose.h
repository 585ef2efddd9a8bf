// Decomposition of a matrix into translation, scale, shear and Euler angles.
#pragma once

#include "primitives.h"

namespace ftv {

// Reads m, divided by m[3][3], as Sc * H * Rx * Ry * Rz * T (row vectors, the
// left factor acting first): Sc the diagonal of scale; H unit lower triangular
// with H[1][0] = XY, H[2][0] = XZ, H[2][1] = YZ; Rx, Ry, Rz the axis_rotation
// about X, Y and Z by the three angles (radians); T the translation, which is
// row 3. Column 3 is never read. Any output may be null.
//
//   translation  (x, y, z)
//   scale        (X, Y, Z); all three negative when the matrix mirrors
//   shear        (YZ, XZ, XY), the reverse of the scale order
//   rotation     (about X, about Y, about Z)
//
// Degenerate cases: a row that cannot be scaled to unit length gives scale 0
// and infinite or NaN shears; m[3][3] = 0 gives infinities or NaNs throughout.
// When the cosine of the Y angle is within kGimbalCosine of 0 (in practice
// when the unit row 0 has z = -1 or +1 exactly) the matrix fixes only the difference
// (Y = +90 degrees) or the sum (Y = -90 degrees) of the X and Z turns: all of
// it goes into the X angle and the Z angle is 0, so that Rx * Ry * Rz still
// rebuilds the rotation.
void decompose(const Mat4& m, Vec3* translation, Vec3* scale, Vec3* shear, Vec3* rotation);

// How near 0 the cosine of the Y angle must be for decompose to fold the Z
// turn into X (above).
constexpr float kGimbalCosine = 0.0002f;

}  // namespace ftv
