// The scene as a glTF 2.0 file for any viewer: one self-contained text file
// whose buffer is a data: URI.
// - One node stands for the root part (the stored switch in its extras), with
//   the root's meshes; below it a node per part, with the part's
//   transformation as its matrix, its tag under Z_FaceToViewer in its extras
//   and its meshes as one mesh of one primitive each (polygons as fans of
//   triangles); a node per marker, at its centre, first where the marker is
//   the part's first shape; and a node for the camera at the eye, looking at
//   the target, which its extras keep (Z_FaceToViewer_target).
// - Floats are written as the doubles they are, so that any reader of JSON
//   numbers gets the same float bits back (the model import reads them so).
// - Streams beyond the tag, markers' input values and part matrices are
//   ftv-host's own: scene.json keeps them, the glTF file does not.
#pragma once

#include <stdexcept>
#include <string>

#include "scene/scene_tree.h"

namespace ftv_cli {

// A scene that glTF cannot hold: a matrix, a centre, a vertex or the camera
// that is not finite. what() names the shape and the value.
class NotExportable : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

std::string gltf_text(const refhost::SceneTree& scene);

}  // namespace ftv_cli
