// Turns one tagged part toward the eye, about the centre of its "#center"
// marker, through the host.
#pragma once

#include "geometry/primitives.h"

namespace ftv {

class HostScene;
class HostShape;

// Reads the part's matrix and the marker's centre from the host, and gives
// the part a new transformation that turns its +Z axis toward eye about that
// centre. The caller keeps its references to scene, part and marker; the
// marker's centre object is released on every path.
void turn_part(HostScene& scene, HostShape& part, HostShape& marker, const Vec3& eye);

}  // namespace ftv
