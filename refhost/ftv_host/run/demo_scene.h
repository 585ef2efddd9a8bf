// The scene ftv-host runs when given none: billboards around the origin that
// show what the plug-in turns and what it leaves alone.
#pragma once

#include "scene/scene_tree.h"

namespace ftv_cli {

// Fills an empty scene: tagged billboard groups with meshes, one inside an
// untagged group nested two deep, two side by side in a group turned about two
// axes (tagged 1 and 3), an upright tree, one untagged group (never turned), one
// tagged group inside a part that carries a stream of its own (never reached),
// and the switch stored on.
void build_demo_scene(refhost::SceneTree& scene);

}  // namespace ftv_cli
