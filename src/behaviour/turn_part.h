// Turns one tagged part toward the eye, about the centre of its "#center"
// marker, through the host.
#pragma once

#include "behaviour/part_tag.h"
#include "geometry/primitives.h"

namespace ftv {

class HostScene;
class HostShape;

// Reads the part's matrix and the marker's centre from the host, and gives
// the part a new transformation that turns it toward eye about that centre,
// as facing says. Upright and exact parts for which no sound turn exists (the
// eye at the pivot, an upright part's eye straight above or below it, a
// singular or non-finite frame: see exact_facing.h) keep the transformation
// they have: the host is not asked to set one. The caller keeps its
// references to scene, part and marker; the marker's centre object is
// released on every path.
void turn_part(HostScene& scene, HostShape& part, HostShape& marker, const Vec3& eye, Facing facing);

}  // namespace ftv
