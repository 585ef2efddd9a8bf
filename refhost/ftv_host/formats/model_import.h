// Scenes of other tools (glTF, FBX, Collada, OBJ, 3DS, X, ... whatever Assimp
// reads, chosen by the file's extension or content) read into a reference
// scene:
// - The file's root node stands for the scene's root part: the plug-in's
//   value under the key Z_FaceToViewer in its metadata is the stored switch,
//   its meshes become mesh shapes of the root and its child nodes the root's
//   parts. A transformation of its own (an importer's change of axes or units)
//   is given to those, so that the world is as the file draws it.
// - Every other node becomes a part with the node's transformation (Assimp's
//   column-vector matrix transposed into the row-vector convention), holding
//   first its pivot marker: a first child node named "#center" with no
//   meshes and no children of its own, whose position is the centre; then
//   its meshes as mesh shapes, in the node's coordinates; then its child nodes.
// - A node's metadata value under the key Z_FaceToViewer (glTF's extras, FBX's
//   user properties), an integer, is the part's tag.
// - Names are the file's. Among the shapes of one part, a name that an earlier
//   one already has gets "~2", "~3", ... (the first number that no name there
//   takes); an empty name reads "unnamed" (a mesh's "mesh"); a "/", which
//   paths put between names, reads "_".
// - The file's first camera gives the eye, and the target ftv-host's own files
//   store with it (Z_FaceToViewer_target in the camera node's metadata), else
//   the point on its line of sight nearest to the middle of the scene; the
//   node that holds nothing but that camera is not a part. Without a camera
//   the eye looks at the middle of the scene from where it sees all of it.
// - Points and lines are left out: the host's meshes are polygons.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "scene/scene_tree.h"

namespace ftv_cli {

// Parts to tag as the model is read. A part tagged here first gives its own
// transformation to what it holds (the plug-in replaces a tagged part's
// transformation with its turn, so its place must lie in its contents), and
// gets a "#center" marker at the centre of its meshes' bounds (its origin,
// without meshes) when it has none.
struct ModelTags {
    struct Path {
        std::string path;  // of the part, as the scene names it ("/Trees/Oak")
        std::int32_t mode = 1;
    };
    std::vector<Path> paths;
    // Tags every part holding a mesh that the update pass reaches (not one
    // inside a part that already carries the plug-in's stream), with this mode.
    std::optional<std::int32_t> groups;
};

// Whether ftv-host reads the file as a model through Assimp rather than as its
// own JSON scene: an existing file whose extension is one Assimp
// reads, or whose extension is neither that nor ".json" and whose content does
// not begin as a JSON object does.
bool is_model_file(const std::string& path);

// Fills an empty scene from a model file, read in a process of its own
// (importer_process.h) that may open only the files of the model's folder
// (model_folder.h), within seconds (0: 10 s plus 1 s per MB of the file).
// InputError names the file and what is wrong: no reader for it, a fault
// Assimp found, a file it refers to that it may not read, nesting beyond the
// limit, nothing in it, a tag that is not an integer, a reader that crashed
// or overran a limit; or names the option whose path matches no part.
// camera_path, when given, gets the keys of the model's animated camera
// (camera_path.h).
void import_model(const std::string& path, const ModelTags& tags, refhost::SceneTree& scene, double seconds = 0,
                  std::vector<refhost::Camera>* camera_path = nullptr);

}  // namespace ftv_cli
