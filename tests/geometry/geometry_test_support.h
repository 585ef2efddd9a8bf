// Helpers shared by the geometry tests and the golden-table generator: bit
// views, a portable seeded generator, and matrices built from their parts with
// the library's own axis_rotation and multiply.
#pragma once

#include "geometry/det_math.h"
#include "geometry/primitives.h"
#include "split_mix.h"
#include "turns.h"

#include <cstdint>
#include <cstring>

namespace ftv::test {

inline std::uint32_t bits(float v) {
    std::uint32_t u;
    std::memcpy(&u, &v, sizeof u);
    return u;
}

inline std::uint64_t bits(double v) { return detmath::detail::bits_of(v); }

inline float float_from(std::uint32_t u) {
    float v;
    std::memcpy(&v, &u, sizeof v);
    return v;
}

inline double double_from(std::uint64_t u) { return detmath::detail::from_bits(u); }

using Rng = testing_support::SplitMix;

inline Mat4 scaling(const Vec3& s) { return {{{s.x, 0, 0, 0}, {0, s.y, 0, 0}, {0, 0, s.z, 0}, {0, 0, 0, 1}}}; }

// H with H[1][0] = XY, H[2][0] = XZ, H[2][1] = YZ; shear is (YZ, XZ, XY).
inline Mat4 shearing(const Vec3& h) { return {{{1, 0, 0, 0}, {h.z, 1, 0, 0}, {h.y, h.x, 1, 0}, {0, 0, 0, 1}}}; }

using testing_support::turn;

// Rx * Ry * Rz.
inline Mat4 euler(double x, double y, double z) {
    Mat4 r;
    multiply(turn({1, 0, 0}, x), turn({0, 1, 0}, y), r);
    multiply(r, turn({0, 0, 1}, z), r);
    return r;
}

inline Mat4 euler(const Vec3& angles) { return euler(angles.x, angles.y, angles.z); }

// Sc * H * Rx * Ry * Rz * T.
inline Mat4 compose(const Vec3& scale, const Vec3& shear, const Vec3& angles, const Vec3& move) {
    Mat4 m;
    multiply(scaling(scale), shearing(shear), m);
    multiply(m, euler(angles), m);
    multiply(m, translation_matrix(move), m);
    return m;
}

}  // namespace ftv::test
