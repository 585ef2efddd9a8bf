// The plug-in's values as Imath's, for the reference host's own arithmetic,
// which so shares none with the plug-in. Imath reads a matrix in the same
// row-vector convention (a point times the matrix, the translation in row
// 3, in A * B the matrix A acts first), so the elements carry over as they
// stand. Everything is computed in double and rounded to float once.
#pragma once

#include <ImathMatrix.h>
#include <ImathVec.h>

#include <cmath>
#include <cstring>

#include "geometry/primitives.h"

namespace refhost {

using Imath::M44d;
using Imath::V3d;

inline V3d imath(const ftv::Vec3& v) { return V3d(v.x, v.y, v.z); }
inline M44d imath(const ftv::Mat4& m) { return M44d(Imath::M44f(m.m)); }
inline ftv::Vec3 vec3(const V3d& v) { return {float(v.x), float(v.y), float(v.z)}; }
inline ftv::Mat4 mat4(const M44d& m) {
    ftv::Mat4 out;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) out.m[i][j] = static_cast<float>(m[i][j]);
    return out;
}

// Whether m is the identity bit for bit: -0 where the identity has 0 does not
// count. Files keep a scene's matrices to the bit and leave identities out, so
// an identity in value that holds a -0 must be written, or it would read back
// as +0; where only the value matters (the import's root transformation), such
// a matrix is treated as the transformation it is, which changes no value.
inline bool is_identity(const ftv::Mat4& m) {
    const ftv::Mat4 identity = ftv::kIdentityMatrix;
    return std::memcmp(&m, &identity, sizeof m) == 0;
}

// a * b: a acts first.
inline ftv::Mat4 product(const ftv::Mat4& a, const ftv::Mat4& b) { return mat4(imath(a) * imath(b)); }
// The direction v (w = 0) and the point p (w = 1) carried through m, whose
// column 3 is taken as (0, 0, 0, 1).
inline ftv::Vec3 transform_direction(const ftv::Vec3& v, const ftv::Mat4& m) {
    V3d out;
    imath(m).multDirMatrix(imath(v), out);
    return vec3(out);
}
inline ftv::Vec3 transform_point(const ftv::Vec3& p, const ftv::Mat4& m) {
    const M44d a = imath(m);
    V3d out;
    a.multDirMatrix(imath(p), out);
    return vec3(out + a.translation());
}
// The inverse of m read as an affine matrix (column 3 taken as (0, 0, 0, 1));
// the identity when its upper 3x3 block is singular or not finite.
inline ftv::Mat4 affine_inverse(const ftv::Mat4& m) {
    M44d a = imath(m);
    a[0][3] = a[1][3] = a[2][3] = 0;
    a[3][3] = 1;
    const double det =
        Imath::M33d(a[0][0], a[0][1], a[0][2], a[1][0], a[1][1], a[1][2], a[2][0], a[2][1], a[2][2]).determinant();
    return det != 0 && std::isfinite(det) ? mat4(a.inverse()) : ftv::kIdentityMatrix;
}

}  // namespace refhost
