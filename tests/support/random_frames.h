// Random frames for the property tests of how parts turn: the frames real
// files carry, and the same pushed to the extremes the fuzz targets reach.
// One home, so that every test that draws frames draws them alike.
#pragma once

#include <cstdint>
#include <cstring>
#include <limits>

#include "geometry/primitives.h"
#include "host_objects/host_scene.h"
#include "scene/imath_values.h"
#include "split_mix.h"
#include "turns.h"

namespace testing_support {

inline ftv::Mat4 scaling(float x, float y, float z) {
    ftv::Mat4 m = ftv::kIdentityMatrix;
    m.m[0][0] = x, m.m[1][1] = y, m.m[2][2] = z;
    return m;
}
inline ftv::Mat4 scaling(float k) { return scaling(k, k, k); }

// A frame of the kind real files carry: a product of factors, each any turn,
// an exact quarter or half turn about a world axis, a mirror, an uneven scale
// or a shear, then a move.
inline ftv::Mat4 random_frame(SplitMix& rng) {
    ftv::Mat4 m = ftv::kIdentityMatrix;
    for (int k = 1 + rng.below(4); k > 0; --k) {
        ftv::Mat4 f = ftv::kIdentityMatrix;
        const auto any_direction = [&rng] {
            return ftv::Vec3{float(rng.uniform(-1, 1)), float(rng.uniform(-1, 1)), float(rng.uniform(-1, 1))};
        };
        const ftv::Vec3 world_axes[] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
        switch (rng.below(5)) {
            case 0:  // every turn is the shortest arc from some direction to another
                f = refhost::rotation_between(any_direction(), any_direction());
                break;
            case 1: {
                const float quarter[][2] = {{0, 1}, {0, -1}, {-1, 0}};
                const auto& q = quarter[rng.below(3)];
                f = turn(world_axes[rng.below(3)], q[0], q[1]);
                break;
            }
            case 2: f.m[rng.below(3)][rng.below(3)] = -1; f = scaling(f.m[0][0], f.m[1][1], f.m[2][2]); break;
            case 3: f = scaling(float(rng.uniform(0.2, 5)), float(rng.uniform(0.2, 5)), float(rng.uniform(0.2, 5))); break;
            case 4: f.m[1 + rng.below(2)][0] = float(rng.uniform(-1, 1)), f.m[2][1] = float(rng.uniform(-1, 1)); break;
        }
        m = refhost::product(m, f);
    }
    return refhost::product(m, ftv::translation_matrix({float(rng.uniform(-20, 20)), float(rng.uniform(-20, 20)),
                                                        float(rng.uniform(-20, 20))}));
}

// A float of either sign with a biased exponent uniform in [lo, hi]: 0 for
// the subnormals (from 1.4e-45), 254 for the largest (up to 3.4e38).
inline float random_size(SplitMix& rng, std::uint32_t lo, std::uint32_t hi) {
    const std::uint32_t u = (rng.chance(50) ? 0x80000000u : 0) | (lo + rng.below(hi - lo + 1)) << 23 |
                            std::uint32_t(rng.next() & 0x7FFFFF);
    float f;
    std::memcpy(&f, &u, sizeof f);
    return f;
}

// A value out of the ordinary: not finite, 0, -1 or 2 (as a w), tiny, or
// most often near the float range.
inline float extreme_value(SplitMix& rng) {
    constexpr float kInf = std::numeric_limits<float>::infinity();
    const float special[] = {std::numeric_limits<float>::quiet_NaN(), kInf, -kInf, 0, -1, 2};
    if (rng.chance(30)) return special[rng.below(6)];
    return rng.chance(25) ? random_size(rng, 0, 30) : random_size(rng, 227, 254);
}

// random_frame, or, two times in three, that frame pushed to the extremes the
// fuzz targets reach: scaled hugely or tinily (evenly or along one axis),
// made flat or nearly so, given an extreme element (in its 3x3, its move,
// its w), or arbitrary bits.
inline ftv::Mat4 hostile_frame(SplitMix& rng) {
    ftv::Mat4 m = random_frame(rng);
    for (int k = int(rng.below(3)); k > 0; --k) {
        const int i = int(rng.below(4)), j = int(rng.below(4)), row = i % 3;
        switch (rng.below(5)) {
            case 0: m = refhost::product(m, scaling(random_size(rng, 0, 254))); break;
            case 1: for (float& e : m.m[row]) e *= random_size(rng, 0, 254); break;
            case 2:  // a row the sum of the other two, to within rounding, or none
                for (int c = 0; c < 3; ++c)
                    m.m[row][c] = rng.chance(50) ? 0 : m.m[(row + 1) % 3][c] + m.m[(row + 2) % 3][c];
                break;
            case 3: m.m[i][j] = extreme_value(rng); break;
            default:
                for (float& e : m.m[i]) {
                    const std::uint32_t u = std::uint32_t(rng.next());
                    std::memcpy(&e, &u, sizeof e);
                }
        }
    }
    return m;
}

}  // namespace testing_support
