// Vector and matrix primitives. Every intermediate is a double; a value is
// narrowed to float (store) exactly where it becomes a stored element, so the
// results are the same bits on every IEEE target with SSE2 doubles. The
// arithmetic lives in primitives_kernels.h, which the geometry's other files
// inline.
#include "primitives.h"

#include "primitives_kernels.h"

namespace ftv {

void normalized(const Vec3& v, Vec3& out) { kernels::normalized(v, out); }

float normalize(Vec3& v) { return kernels::normalize(v); }

void transform_point(const Vec3& p, const Mat4& m, Vec3& out) { kernels::transform_point(p, m, out); }

void transform_row(const Vec4& r, const Mat4& m, Vec4& out) { kernels::transform_row(r, m, out); }

void multiply(const Mat4& a, const Mat4& b, Mat4& out) { kernels::multiply(a, b, out); }

void axis_rotation(const Vec3& axis, float c, float s, Mat4& out) { kernels::axis_rotation(axis, c, s, out); }

}  // namespace ftv
