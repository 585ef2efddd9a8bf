#include "geometry/face_camera.h"

#include "geometry/det_math.h"
#include "geometry/primitives_kernels.h"

namespace ftv {

namespace {

// The rotation about a coordinate axis by angle, its cosine and sine stored as
// floats. The deterministic sine and cosine give every build the same bits.
// Inlined at each call, so that the constant axis's normalization folds away.
[[gnu::always_inline]] inline void turn_about(const Vec3& axis, float angle, Mat4& out) {
    double sine, cosine;
    detmath::sincos(angle, sine, cosine);
    kernels::axis_rotation(axis, static_cast<float>(cosine), static_cast<float>(sine), out);
}

}  // namespace

void direction_to_eye(const Mat4& part_to_world, const Vec3& pivot, const Vec3& eye, Vec3& out) {
    Vec3 world;
    kernels::transform_point(pivot, part_to_world, world);
    out = Vec3{eye.x - world.x, eye.y - world.y, eye.z - world.z};
    kernels::normalize(out);
}

void facing_transform(const Vec3& pivot, const Mat4& turn, const Vec3& angles, Mat4& out) {
    Mat4 about_x, about_y, about_z;
    turn_about(Vec3{1.0f, 0.0f, 0.0f}, -angles.x, about_x);
    turn_about(Vec3{0.0f, 1.0f, 0.0f}, -angles.y, about_y);
    turn_about(Vec3{0.0f, 0.0f, 1.0f}, -angles.z, about_z);
    // Every factor is read before out is written: out may be turn.
    const kernels::Factor factors[6] = {
        kernels::widen_factor(translation_matrix(Vec3{-pivot.x, -pivot.y, -pivot.z})),
        kernels::widen_factor(turn),
        kernels::widen_factor(about_x),
        kernels::widen_factor(about_y),
        kernels::widen_factor(about_z),
        kernels::widen_factor(translation_matrix(pivot)),
    };
    kernels::chain(kIdentityMatrix, factors, out);
}

}  // namespace ftv
