#include "geometry/upright_turn.h"

#include "geometry/axis_turn.h"
#include "geometry/det_math.h"

namespace ftv {

void upright_turn(const Vec3& direction, Mat4& out) {
    // atan2 of two zeros would give +-pi for a negative zero z; no horizontal
    // direction means no turn.
    const bool level = direction.x == 0.0f && direction.z == 0.0f;
    const double angle = level ? 0.0 : detmath::atan2(direction.x, direction.z);
    kernels::turn_about(Vec3{0.0f, 1.0f, 0.0f}, angle, out);
}

}  // namespace ftv
