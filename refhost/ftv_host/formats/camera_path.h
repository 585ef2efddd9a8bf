// The path of the camera a model names, as the model's own animation moves
// it, for --camera-path: one camera (eye and target) per key.
#pragma once

#include <vector>

#include "scene/node.h"

struct aiScene;

namespace ftv_cli {

// The eye and target at each key of the first animation that moves the node
// holding the model's first camera: the times of its position, rotation and
// scale keys merged in order, each channel interpolated at the times of the
// others (positions and scales linearly, rotations spherically) or, without
// keys, at rest. The camera moves with that node as placed sits in it at
// rest: the eye at the same point of the node, the target in the same
// direction of the node and at the same distance from the eye. The node's
// parents stay at rest. Empty when no animation moves the node.
std::vector<refhost::Camera> camera_path(const aiScene& model, const refhost::Camera& placed);

}  // namespace ftv_cli
