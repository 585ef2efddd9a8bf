#include "behaviour/turn_part.h"

#include "geometry/decompose.h"
#include "geometry/exact_facing.h"
#include "geometry/face_camera.h"
#include "host/host_center_object.h"
#include "host/host_part_object.h"
#include "host/host_ref.h"
#include "host/host_scene.h"
#include "host/host_shape.h"

namespace ftv {

namespace {

// The host's rotation onto the eye, then the frame's turns undone in the
// order X, Y, Z.
void turn_toward_eye(HostScene& scene, HostShape& part, const Mat4& part_to_world, const Vec3& pivot,
                     const Vec3& direction) {
    Vec3 angles;
    decompose(part_to_world, nullptr, nullptr, nullptr, &angles);
    part.part_object()->set_matrix(kIdentityMatrix);
    const Mat4 turn = rotation_between(scene, Vec3{0.0f, 0.0f, 1.0f}, direction);
    Mat4 transformation;
    facing_transform(pivot, turn, angles, transformation);
    part.set_transformation(transformation);
}

void turn_exactly(HostShape& part, const Mat4& part_to_world, const Vec3& pivot, const Vec3& direction,
                  ExactAim aim) {
    Mat4 transformation;
    if (!exact_facing_transform(part_to_world, pivot, direction, aim, transformation)) return;
    part.part_object()->set_matrix(kIdentityMatrix);
    part.set_transformation(transformation);
}

}  // namespace

void turn_part(HostScene& scene, HostShape& part, HostShape& marker, const Vec3& eye, Facing facing) {
    const Mat4 part_to_world = local_to_world(part);
    const auto center_object = adopt(marker.center_object());
    const Vec3 pivot = center(*center_object.get());

    Vec3 direction;
    direction_to_eye(part_to_world, pivot, eye, direction);
    switch (facing) {
        case Facing::toward_eye:
            turn_toward_eye(scene, part, part_to_world, pivot, direction);
            break;
        case Facing::upright:
            turn_exactly(part, part_to_world, pivot, direction, ExactAim::upright);
            break;
        case Facing::exact:
            turn_exactly(part, part_to_world, pivot, direction, ExactAim::face);
            break;
    }
}

}  // namespace ftv
