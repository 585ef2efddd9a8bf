// Pictures of a scene: what the camera sees and a view from above.
#pragma once

#include <string>
#include <vector>

#include "plugin_session.h"
#include "scene.h"

namespace ftv_host {

// The view from the camera in perspective: meshes drawn back to front, a
// face turned toward the eye filled, one turned away only outlined; below it
// the status bar with the pane's text and icon.
std::string camera_view_svg(const refhost::Scene& scene, const PaneState& pane);

// The scene seen from above (x to the right, z downward): meshes, the camera
// with the path its eye took, a ray from the eye to each tagged part's centre
// and an arrow along the direction that part faces.
std::string top_view_svg(const refhost::Scene& scene, const std::vector<ftv::Vec3>& eye_path);

}  // namespace ftv_host
