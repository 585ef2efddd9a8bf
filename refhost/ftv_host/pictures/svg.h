// Pictures of a scene: what the camera sees and a view from above.
#pragma once

#include <string>
#include <vector>

#include "run/plugin_session.h"
#include "scene/scene_tree.h"

namespace ftv_cli {

// The fonts the pictures ask for, first choice first: Japanese fonts, so that
// the pane's text shows its glyphs (scripts/setup installs IPAGothic), then
// any sans-serif font. In single quotes, to sit inside an SVG attribute.
constexpr const char* kFontStack = "'IPAPGothic', IPAGothic, 'Noto Sans CJK JP', 'Noto Sans JP', sans-serif";

// The view from the camera in perspective: meshes drawn back to front, a
// face turned toward the eye filled, one turned away only outlined, the
// parts with the plug-in's stream that it does not turn hatched in red with
// the reason in their titles; below it the status bar with the pane's text
// and icon (the module's own artwork). switch_on is the plug-in's working
// switch: it decides which parts turn, and colours the icon when its artwork
// cannot be read.
std::string camera_view_svg(const refhost::SceneTree& scene, const PaneState& pane, bool switch_on);

// The scene seen from above (x to the right, z downward): meshes, the camera
// with the path its eye took, a ray from the eye to each tagged part's centre
// and an arrow along the direction that part faces; parts that do not turn
// hatched as in the camera view.
std::string top_view_svg(const refhost::SceneTree& scene, const std::vector<ftv::Vec3>& eye_path, bool switch_on);

}  // namespace ftv_cli
