// The group creator: builds, in one command, a tagged part named
// "Z_FaceToViewer" whose first child is a "#center" marker where the user's
// input fell, followed by the selected shapes in selection order.
#pragma once

#include <cstdint>

#include "geometry/primitives.h"

namespace ftv {

class HostScene;

// What the host's input handler hands over: a position (input coordinates)
// and two values passed on to the host bit for bit.
struct CreatorInput {
    Vec3 position = {0.0f, 0.0f, 0.0f};
    std::uint32_t first = 0;
    std::uint32_t second = 0;
};

// The group is made beside the first selected shape; with nothing selected, in
// the scene's current part; when the root is selected, in the root. A selected
// shape that is the root or holds the new group stays where it is (moving it
// would cut the tree or make a cycle). The input is not changed, so a second
// creation from the same input places its marker at the same place.
void create_group(HostScene& scene, const CreatorInput& input);

}  // namespace ftv
