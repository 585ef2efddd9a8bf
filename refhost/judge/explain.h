// Why a part that carries the plug-in's stream turns or does not, and how
// closely a turned part faces the eye: the question a user who tagged a part
// asks first. Judged on the scene as it stands, by the plug-in's conventions
// (plugin_conventions.h), not by asking the plug-in.
#pragma once

#include <string>
#include <vector>

#include "scene/scene_tree.h"

namespace refhost {

struct PartExplanation {
    const Node* part = nullptr;
    bool turned = false;
    // Not turned: why. Turned: what keeps it off the eye by more than the
    // judge's tolerance (facing_tolerance), or empty.
    std::string why;
    // Turned: the angle between the part's facing and the direction to the
    // eye (for an upright part, its horizontal direction), in degrees; not a
    // number while that direction is not defined or no pass has turned it.
    double degrees_off = 0;
};

// Every part below the root that carries the plug-in's stream, depth first in
// list order. switch_on is the plug-in's working switch.
std::vector<PartExplanation> explain_parts(const SceneTree& scene, bool switch_on);

// What in the frame a part sits in keeps the plug-in's turn of it off the
// eye: for every mode a negative w (m[3][3]), which the plug-in divides its
// frame by and the host does not; for a plain part also what the plug-in's
// compensation does not undo (a mirror, an uneven scale or a shear, turns
// about several axes or near +-90 degrees about Y). Empty when nothing does.
std::string frame_causes(const SceneTree& scene, const Node& part);

// One line: "/A/B: turned, 0.000° from the eye" or "/A/B: not turned: ...".
std::string explanation_line(const SceneTree& scene, const PartExplanation& explanation);

}  // namespace refhost
