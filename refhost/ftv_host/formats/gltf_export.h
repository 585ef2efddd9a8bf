// The scene as a glTF 2.0 file for any viewer: one self-contained text file
// whose buffer is a data: URI, written through tinygltf.
// - One node stands for the root part (the stored switch in its extras), with
//   the root's meshes; below it a node per part, with the part's
//   transformation as its matrix, its tag under Z_FaceToViewer in its extras
//   and its meshes as one mesh of one primitive each (polygons as fans of
//   triangles); a node per marker, at its centre, first where the marker is
//   the part's first shape; and a node for the camera at the eye, looking at
//   the target, which its extras keep (Z_FaceToViewer_target). Nodes are
//   numbered depth first, the root 0 and the camera last.
// - A matrix that is no translation, rotation and scale is written as the
//   nearest that is, and as itself in the extras (Z_FaceToViewer_matrix),
//   from where the model import reads it back.
// - Floats are written as the doubles they are, so that any reader of JSON
//   numbers gets the same float bits back (the model import reads them so).
// - Streams beyond the tag, markers' input values and part matrices are
//   ftv-host's own: scene.json keeps them, the glTF file does not.
//
// The eye's path, when the run moved the eye: the file's one animation,
// named "eye path", keys each step the run recorded (EyePath) at
// step / kStepsPerSecond seconds, the first step at 0, with LINEAR samplers
// that share one input accessor of the times; its channels, the camera's
// first and then the parts' in node order:
// - the camera node: "translation" (the eye) and "rotation" (-Z toward the
//   target, +Y up);
// - every part the plug-in turned: "translation", "rotation" and "scale",
//   the nearest TRS of its transformation at that step (exact, to float
//   rounding, for a rigid turn; a sheared one errs by trs_error).
// These nodes carry translation, rotation and scale instead of a matrix, at
// rest as the run left the scene (its last step, when the eye moved last),
// and the part nodes keep that matrix itself in their extras
// (Z_FaceToViewer_matrix). Quaternions of one node follow each
// other's sign, so that interpolation takes the short way.
#pragma once

#include <cstdint>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "scene/scene_tree.h"

namespace ftv_cli {

// Steps per second of the animation's time.
constexpr double kStepsPerSecond = 8;

// What a run that moved the eye recorded after each notification it caused.
struct EyePath {
    std::vector<refhost::Camera> cameras;  // at each step
    // Each part the plug-in turned, by node id: its transformation at each step.
    std::map<std::uint32_t, std::vector<ftv::Mat4>> parts;
};

struct GltfScene {
    std::string text;
    std::size_t steps = 0;        // keys of the animation; 0 without one
    std::size_t animated = 0;     // parts it turns
    double largest_trs_error = 0;  // of the turned parts' keys (trs_error)
};

// A scene that glTF cannot hold: a matrix, a centre, a vertex or the camera
// that is not finite. what() names the shape and the value.
class NotExportable : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

GltfScene gltf_scene(const refhost::SceneTree& scene, const EyePath& path = {});

}  // namespace ftv_cli
