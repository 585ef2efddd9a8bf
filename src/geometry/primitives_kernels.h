// The primitives' arithmetic as inline code, for the geometry's own
// translation units: the face-the-camera chain and the decomposition call them
// without a call across files, and the library's flags (no contraction, no
// auto-vectorizer; see CMakeLists.txt) apply wherever they are inlined. Only
// src/geometry/*.cpp includes this; everyone else calls primitives.h.
//
// Every element is the same double-precision sum, in the same order, narrowed
// to float (store) in the same place as the conventions of primitives.h state,
// so these give the bits of the plain scalar code. The products work on two
// columns at a time in vectors of two doubles: each lane does exactly the
// scalar operation, and rows go straight from registers to the result instead
// of through a Vec4 reloaded at another width.
#pragma once

#include <cfloat>
#include <cmath>
#include <cstring>

#include "geometry/primitives.h"

static_assert(FLT_EVAL_METHOD == 0,
              "double arithmetic must round to double: on i686 build with -msse2 -mfpmath=sse");

namespace ftv::kernels {

inline float store(double v) { return static_cast<float>(v); }

// Two doubles or two floats side by side; an operation on them is the scalar
// operation in each lane.
typedef double Lanes __attribute__((vector_size(16)));
typedef float FloatLanes __attribute__((vector_size(8)));

inline Lanes widen(const float* two) {
    FloatLanes f;
    std::memcpy(&f, two, sizeof f);
    return __builtin_convertvector(f, Lanes);
}

inline void narrow(Lanes v, float* two) {
    const FloatLanes f = __builtin_convertvector(v, FloatLanes);
    std::memcpy(two, &f, sizeof f);
}

inline Lanes both(float v) { return Lanes{v, v}; }

// Row r (four floats) times b, whose rows are given widened as columns 0-1
// and 2-3: r'[j] = ((r0 b0j + r1 b1j) + r2 b2j) + r3 b3j, stored once.
inline void row_times(const float* r, const Lanes (&b01)[4], const Lanes (&b23)[4], float* out) {
    const Lanes r0 = both(r[0]), r1 = both(r[1]), r2 = both(r[2]), r3 = both(r[3]);
    const Lanes lo = r0 * b01[0] + r1 * b01[1] + r2 * b01[2] + r3 * b01[3];
    const Lanes hi = r0 * b23[0] + r1 * b23[1] + r2 * b23[2] + r3 * b23[3];
    narrow(lo, out);
    narrow(hi, out + 2);
}

inline void widen_rows(const Mat4& b, Lanes (&b01)[4], Lanes (&b23)[4]) {
    for (int k = 0; k < 4; ++k) {
        b01[k] = widen(&b.m[k][0]);
        b23[k] = widen(&b.m[k][2]);
    }
}

// a * b. All of b is read before out is written, and row i of a before row i
// of out, so out may be a or b.
inline void multiply(const Mat4& a, const Mat4& b, Mat4& out) {
    Lanes b01[4], b23[4];
    widen_rows(b, b01, b23);
    for (int i = 0; i < 4; ++i) row_times(a.m[i], b01, b23, out.m[i]);
}

inline void transform_row(const Vec4& r, const Mat4& m, Vec4& out) {
    Lanes m01[4], m23[4];
    widen_rows(m, m01, m23);
    const float row[4] = {r.x, r.y, r.z, r.w};
    float o[4];
    row_times(row, m01, m23, o);
    out = {o[0], o[1], o[2], o[3]};
}

inline double squared_length(const Vec3& v) {
    const double x = v.x, y = v.y, z = v.z;
    return x * x + y * y + z * z;
}

inline Vec3 scaled(const Vec3& v, double k) { return {store(v.x * k), store(v.y * k), store(v.z * k)}; }

inline void normalized(const Vec3& v, Vec3& out) {
    const double length = std::sqrt(squared_length(v));
    if (!(length > 0.0)) {  // zero, or not a number
        out = v;
        return;
    }
    out = scaled(v, 1.0 / length);
}

inline float normalize(Vec3& v) {
    const float length = store(std::sqrt(squared_length(v)));
    if (!(length > 0.0f)) return 0.0f;  // zero, or not a number
    const double k = 1.0 / length;
    // A float length of 2^-128 or less has a reciprocal beyond the float range.
    if (std::isinf(store(k))) return 0.0f;
    v = scaled(v, k);
    return length;
}

inline void transform_point(const Vec3& p, const Mat4& m, Vec3& out) {
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

inline void axis_rotation(const Vec3& axis, float c, float s, Mat4& out) {
    Vec3 n;
    kernels::normalized(axis, n);
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

}  // namespace ftv::kernels
