// Scene files: a reference scene as JSON.
//
// {"camera": {"eye": [x,y,z], "target": [x,y,z]},
//  "input_to_world": [16 numbers, row by row],
//  "root": {"streams": {...}, "children": [node, ...]},
//  "selection": ["/Path/To/Shape", ...], "current_part": "/Path",
//  "pane": {...}}                           (written only; ignored on reading)
// node: {"name": "...", "kind": "part" | "marker" | "mesh",
//        part:   "transformation": [16], "part_matrix": [16], "children": [...]
//        marker: "center": [x,y,z], "input": [first, second]
//        mesh:   "vertices": [[x,y,z], ...], "polygons": [[i, j, k, ...], ...]
//        any:    "streams": {"40A000C0": [int32, ...]}}
// Floats are written so that reading them gives the same bits back; a
// non-finite value (which the plug-in or the host may have produced, in a
// matrix, a centre, a vertex or the camera) is kept as its bit pattern,
// "0x7FC00000".
#pragma once

#include <string>

#include "formats/json_input.h"
#include "scene/scene_tree.h"

namespace ftv_cli {

// Fills an empty scene from a file; InputError names the place of a fault.
void read_scene(const std::string& path, refhost::SceneTree& scene);
void read_scene(const std::string& file, const Json& document, refhost::SceneTree& scene);
// The scene as a document (json_output.h writes it); pane, when not null, is
// stored with it.
Json scene_to_json(const refhost::SceneTree& scene, const Json* pane = nullptr);

}  // namespace ftv_cli
