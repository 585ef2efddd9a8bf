// The compact form in which the importer's process hands ftv-host the scene
// it read from a model: the camera, then every node below the root in the
// order they were made (a parent before its children), each with the index
// of its parent, its kind, name, transformation or centre or mesh, and
// streams. Numbers are the machine's own: both ends are the same program.
//
// The reading end trusts nothing: every count is checked against the bytes
// that are left before anything is made of it, every parent against the nodes
// already read and the nesting limit, every polygon index against its mesh.
//
// Each field is listed once, in scene_fields() or node_fields() of
// scene_transfer.cpp, which both write and read it: a new field (a camera's
// animation, say) is one more line there.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "scene/scene_tree.h"

namespace ftv_cli {

// With the keys of the model's animated camera, when it has one (camera_path.h).
std::string compact_scene(const refhost::SceneTree& scene, const std::vector<refhost::Camera>& camera_path = {});

// Fills an empty scene, and camera_path when given, from the compact form;
// false when the bytes are not one (damaged, cut short, or inconsistent), the
// scene then partly filled.
bool read_compact_scene(std::string_view bytes, refhost::SceneTree& scene,
                        std::vector<refhost::Camera>* camera_path = nullptr);

}  // namespace ftv_cli
