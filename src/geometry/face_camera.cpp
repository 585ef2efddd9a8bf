#include "geometry/face_camera.h"

#include "geometry/axis_turn.h"
#include "geometry/primitives_kernels.h"

namespace ftv {

void direction_to_eye(const Mat4& part_to_world, const Vec3& pivot, const Vec3& eye, Vec3& out) {
    Vec3 world;
    kernels::transform_point(pivot, part_to_world, world);
    out = Vec3{eye.x - world.x, eye.y - world.y, eye.z - world.z};
    kernels::normalize(out);
}

void facing_transform(const Vec3& pivot, const Mat4& turn, const Vec3& angles, Mat4& out) {
    Mat4 about_x, about_y, about_z;
    kernels::turn_about(Vec3{1.0f, 0.0f, 0.0f}, -angles.x, about_x);
    kernels::turn_about(Vec3{0.0f, 1.0f, 0.0f}, -angles.y, about_y);
    kernels::turn_about(Vec3{0.0f, 0.0f, 1.0f}, -angles.z, about_z);
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
