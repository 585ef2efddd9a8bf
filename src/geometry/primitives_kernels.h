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
// scalar operation, and rows stay in registers instead of going through a
// Vec4 in memory reloaded at another width. The narrowing is written out as
// conversions of whole vectors, which the auto-vectorizer (off here) never
// rewrites.
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

// Both lanes rounded to float (stored), kept as doubles for the next step.
inline Lanes stored(Lanes v) { return __builtin_convertvector(__builtin_convertvector(v, FloatLanes), Lanes); }

template <int lane>
inline Lanes broadcast(Lanes v) {
    return Lanes{v[lane], v[lane]};
}

// A row of four floats held as doubles, columns 0-1 and 2-3.
struct Row {
    Lanes lo, hi;
};

inline Row widen_row(const float* r) { return {widen(r), widen(r + 2)}; }

inline void narrow_row(const Row& r, float* out) {
    narrow(r.lo, out);
    narrow(r.hi, out + 2);
}

// The right factor of a product, its rows widened once.
struct Factor {
    Row rows[4];
};

inline Factor widen_factor(const Mat4& m) {
    return {{widen_row(m.m[0]), widen_row(m.m[1]), widen_row(m.m[2]), widen_row(m.m[3])}};
}

// r times f: r'[j] = ((r0 f0j + r1 f1j) + r2 f2j) + r3 f3j at full precision,
// not yet stored.
inline Row times(const Row& r, const Factor& f) {
    const Lanes r0 = broadcast<0>(r.lo), r1 = broadcast<1>(r.lo);
    const Lanes r2 = broadcast<0>(r.hi), r3 = broadcast<1>(r.hi);
    const Row* b = f.rows;
    return {r0 * b[0].lo + r1 * b[1].lo + r2 * b[2].lo + r3 * b[3].lo,
            r0 * b[0].hi + r1 * b[1].hi + r2 * b[2].hi + r3 * b[3].hi};
}

// r times f, each element stored: one row of a product.
inline Row times_stored(const Row& r, const Factor& f) {
    const Row p = times(r, f);
    return {stored(p.lo), stored(p.hi)};
}

// a * b. All of b is read before out is written, and row i of a before row i
// of out, so out may be a or b.
inline void multiply(const Mat4& a, const Mat4& b, Mat4& out) {
    const Factor f = widen_factor(b);
    for (int i = 0; i < 4; ++i) narrow_row(times(widen_row(a.m[i]), f), out.m[i]);
}

inline void transform_row(const Vec4& r, const Mat4& m, Vec4& out) {
    const float row[4] = {r.x, r.y, r.z, r.w};
    float o[4];
    narrow_row(times(widen_row(row), widen_factor(m)), o);
    out = {o[0], o[1], o[2], o[3]};
}

// start * f[0] * f[1] * ... * f[n - 1], accumulated from the left with every
// intermediate product stored, as a chain of multiply calls would give. Row i
// of a product depends on row i of its left factor alone, so each row runs
// through the whole chain in registers, the four rows side by side.
template <int n>
inline void chain(const Mat4& start, const Factor (&f)[n], Mat4& out) {
    Row rows[4] = {widen_row(start.m[0]), widen_row(start.m[1]), widen_row(start.m[2]), widen_row(start.m[3])};
    for (int k = 0; k < n; ++k)
        for (Row& r : rows) r = times_stored(r, f[k]);
    for (int i = 0; i < 4; ++i) narrow_row(rows[i], out.m[i]);
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
