#include "geometry/face_camera.h"

#include "geometry/det_math.h"
#include "geometry/primitives_kernels.h"

namespace ftv {

namespace {

// The rotation about a coordinate axis by angle, its cosine and sine stored as
// floats. The deterministic sine and cosine give every build the same bits.
void turn_about(const Vec3& axis, float angle, Mat4& out) {
    const double radians = angle;
    kernels::axis_rotation(axis, static_cast<float>(detmath::cos(radians)), static_cast<float>(detmath::sin(radians)), out);
}

}  // namespace

void direction_to_eye(const Mat4& part_to_world, const Vec3& pivot, const Vec3& eye, Vec3& out) {
    Vec3 world;
    kernels::transform_point(pivot, part_to_world, world);
    out = Vec3{eye.x - world.x, eye.y - world.y, eye.z - world.z};
    kernels::normalize(out);
}

void facing_transform(const Vec3& pivot, const Mat4& turn, const Vec3& angles, Mat4& out) {
    Mat4 accumulated = kIdentityMatrix;
    Mat4 factor = translation_matrix(Vec3{-pivot.x, -pivot.y, -pivot.z});
    kernels::multiply(accumulated, factor, accumulated);
    kernels::multiply(accumulated, turn, accumulated);
    turn_about(Vec3{1.0f, 0.0f, 0.0f}, -angles.x, factor);
    kernels::multiply(accumulated, factor, accumulated);
    turn_about(Vec3{0.0f, 1.0f, 0.0f}, -angles.y, factor);
    kernels::multiply(accumulated, factor, accumulated);
    turn_about(Vec3{0.0f, 0.0f, 1.0f}, -angles.z, factor);
    kernels::multiply(accumulated, factor, accumulated);
    kernels::multiply(accumulated, translation_matrix(pivot), out);
}

}  // namespace ftv
