// The rotation about an axis by an angle, for the geometry's own translation
// units: its cosine and sine from the deterministic trigonometry, each stored
// as a float, so that every build gives the same bits. Inlined at each call,
// so that a constant axis's normalization folds away.
#pragma once

#include "geometry/det_math.h"
#include "geometry/primitives_kernels.h"

namespace ftv::kernels {

[[gnu::always_inline]] inline void turn_about(const Vec3& axis, double angle, Mat4& out) {
    double sine, cosine;
    detmath::sincos(angle, sine, cosine);
    kernels::axis_rotation(axis, static_cast<float>(cosine), static_cast<float>(sine), out);
}

}  // namespace ftv::kernels
