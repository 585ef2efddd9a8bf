// The camera's own axes, as every picture and file of the scene takes them:
// forward from the eye toward the target, right = forward x +Y (level: the
// camera never rolls), and up = right x forward.
//
// Degenerate cases:
// - target at the eye (or not finite apart): forward is -Z, where glTF's
//   cameras look by default, so right is +X and up +Y;
// - looking straight up or down (forward within 1e-9 of the vertical): right
//   is +X, the axis it has as the eye comes over the top from the +Z side,
//   the side from which the exact facing of the plug-in takes its roll too.
#pragma once

#include "scene/imath_values.h"
#include "scene/node.h"

namespace refhost {

struct CameraBasis {
    V3d forward, right, up;  // unit vectors, right-handed: right x up = -forward
};

inline CameraBasis camera_basis(const Camera& camera) {
    const V3d towards = imath(camera.target) - imath(camera.eye);
    const double distance = towards.length();
    CameraBasis b;
    b.forward = distance > 0 && std::isfinite(distance) ? towards / distance : V3d(0, 0, -1);
    b.right = V3d(-b.forward.z, 0, b.forward.x);  // forward x (0, 1, 0)
    const double level = b.right.length();
    b.right = level > 1e-9 ? b.right / level : V3d(1, 0, 0);
    b.up = b.right % b.forward;
    return b;
}

}  // namespace refhost
