// Turns about an axis, for the scenes that tests, benchmarks and fuzz targets
// build: from a cosine and sine given as floats (those of a 3-4-5 triangle are
// exact, so a scene is the same bits on every build), or from an angle through
// the module's deterministic trigonometry, which also gives every build the
// same bits (the C library's does not).
#pragma once

#include "geometry/det_math.h"
#include "geometry/primitives.h"

namespace testing_support {

inline ftv::Mat4 turn(const ftv::Vec3& axis, float c, float s) {
    ftv::Mat4 m;
    ftv::axis_rotation(axis, c, s, m);
    return m;
}

inline ftv::Mat4 turn(const ftv::Vec3& axis, double angle) {
    return turn(axis, static_cast<float>(ftv::detmath::cos(angle)), static_cast<float>(ftv::detmath::sin(angle)));
}

}  // namespace testing_support
