// The update pass: on every notification, with the switch on, every tagged
// part that the walk reaches and whose first child is the "#center" marker is
// turned toward the camera's eye.
#pragma once

#include <cstdint>

#include "geometry/primitives.h"

namespace ftv {

class HostScene;

// The walk starts at the root's children and descends only into parts that
// carry no plug-in stream; the root itself is never taken as a tagged part.
// With enabled 0 nothing at all is asked of the host and eye keeps its value;
// otherwise eye receives the camera's eye position first.
void update_pass(HostScene& scene, std::int32_t enabled, Vec3& eye);

}  // namespace ftv
