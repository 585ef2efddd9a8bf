// Vector and matrix primitives. Every intermediate is a double; a value is
// narrowed to float (store) exactly where it becomes a stored element, so the
// results are the same bits on every IEEE target with SSE2 doubles.
#include "primitives.h"

#include <cfloat>
#include <cmath>

static_assert(FLT_EVAL_METHOD == 0,
              "double arithmetic must round to double: on i686 build with -msse2 -mfpmath=sse");

namespace ftv {
namespace {

inline float store(double v) { return static_cast<float>(v); }

inline double squared_length(const Vec3& v) {
    const double x = v.x, y = v.y, z = v.z;
    return x * x + y * y + z * z;
}

inline Vec3 scaled(const Vec3& v, double k) { return {store(v.x * k), store(v.y * k), store(v.z * k)}; }

}  // namespace

void normalized(const Vec3& v, Vec3& out) {
    const double length = std::sqrt(squared_length(v));
    if (!(length > 0.0)) {  // zero, or not a number
        out = v;
        return;
    }
    out = scaled(v, 1.0 / length);
}

float normalize(Vec3& v) {
    const float length = store(std::sqrt(squared_length(v)));
    if (!(length > 0.0f)) return 0.0f;  // zero, or not a number
    const double k = 1.0 / length;
    // A float length of 2^-128 or less has a reciprocal beyond the float range.
    if (std::isinf(store(k))) return 0.0f;
    v = scaled(v, k);
    return length;
}

void transform_point(const Vec3& p, const Mat4& m, Vec3& out) {
    const double x = p.x, y = p.y, z = p.z;
    float r[3];
    for (int j = 0; j < 3; ++j)
        r[j] = store(x * m.m[0][j] + y * m.m[1][j] + z * m.m[2][j] + m.m[3][j]);
    // Only m[3][3] divides: column 3 takes no part, unlike a projective divide.
    if (m.m[3][3] != 1.0f) {
        const double w = 1.0 / m.m[3][3];
        for (float& e : r) e = store(e * w);
    }
    out = {r[0], r[1], r[2]};
}

void transform_row(const Vec4& r, const Mat4& m, Vec4& out) {
    const double v[4] = {r.x, r.y, r.z, r.w};
    float o[4];
    for (int j = 0; j < 4; ++j)
        o[j] = store(v[0] * m.m[0][j] + v[1] * m.m[1][j] + v[2] * m.m[2][j] + v[3] * m.m[3][j]);
    out = {o[0], o[1], o[2], o[3]};
}

void multiply(const Mat4& a, const Mat4& b, Mat4& out) {
    Mat4 product;
    for (int i = 0; i < 4; ++i) {
        Vec4 row;
        transform_row({a.m[i][0], a.m[i][1], a.m[i][2], a.m[i][3]}, b, row);
        product.m[i][0] = row.x;
        product.m[i][1] = row.y;
        product.m[i][2] = row.z;
        product.m[i][3] = row.w;
    }
    out = product;
}

void axis_rotation(const Vec3& axis, float c, float s, Mat4& out) {
    Vec3 n;
    normalized(axis, n);
    const double x = n.x, y = n.y, z = n.z;
    const double cd = c, sd = s;
    const double t = 1.0 - cd;
    out = Mat4{{
        {store(x * x + (1.0 - x * x) * cd), store(x * y * t + z * sd), store(x * z * t - y * sd), 0.0f},
        {store(x * y * t - z * sd), store(y * y + (1.0 - y * y) * cd), store(y * z * t + x * sd), 0.0f},
        {store(x * z * t + y * sd), store(y * z * t - x * sd), store(z * z + (1.0 - z * z) * cd), 0.0f},
        {0.0f, 0.0f, 0.0f, 1.0f},
    }};
}

}  // namespace ftv
