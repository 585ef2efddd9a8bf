#include "behaviour/turn_part.h"

#include "geometry/decompose.h"
#include "geometry/face_camera.h"
#include "host/host_center_object.h"
#include "host/host_part_object.h"
#include "host/host_ref.h"
#include "host/host_scene.h"
#include "host/host_shape.h"

namespace ftv {

void turn_part(HostScene& scene, HostShape& part, HostShape& marker, const Vec3& eye) {
    const Mat4 part_to_world = part.local_to_world();
    const auto center_object = adopt(marker.center_object());
    const Vec3 pivot = center_object->center();

    Vec3 direction;
    direction_to_eye(part_to_world, pivot, eye, direction);
    Vec3 angles;
    decompose(part_to_world, nullptr, nullptr, nullptr, &angles);

    part.part_object()->set_matrix(kIdentityMatrix);

    const Mat4 turn = scene.rotation_between(Vec3{0.0f, 0.0f, 1.0f}, direction);
    Mat4 transformation;
    facing_transform(pivot, turn, angles, transformation);
    part.set_transformation(transformation);
}

}  // namespace ftv
