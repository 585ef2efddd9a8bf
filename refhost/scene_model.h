// The data of a reference scene: a tree of shapes with their transformations,
// plug-in streams, marker centres and meshes, and a camera. Plain data; the
// host objects the plug-in calls are views onto it (scene.h).
//
// Scene semantics, as the reference host defines them:
// - A part has its own transformation, which HostShape::set_transformation
//   replaces. The content matrix of a part, which carries the coordinates of
//   its children into world coordinates, is its own transformation times its
//   parent's content matrix; the root's content matrix is the identity.
// - HostShape::local_to_world of any shape is the content matrix of the part
//   that holds it. For a part this excludes its own transformation, so every
//   update pass starts from the same angles and a billboard stays put from pass
//   to pass.
// - HostShape::world_to_local of a part is the inverse of its content matrix.
// - A marker has a centre point in the coordinates of the part that holds it;
//   a mesh's centre is the mean of its vertices; a part's centre is (0, 0, 0).
// - HostPartObject::set_matrix stores the matrix on the part and changes
//   nothing else.
// - A stream is a list of 32-bit integers; reading past its end gives 0.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "geometry/primitives.h"
#include "host/plugin_id.h"

namespace refhost {

enum Kind : std::int32_t {
    kMarker = 1,
    kPart = 2,
    kMesh = 4,
};

using StreamData = std::vector<std::int32_t>;

struct Mesh {
    std::vector<ftv::Vec3> vertices;
    std::vector<std::vector<std::uint32_t>> polygons;  // indices into vertices
};

class PartObject;
struct Node;

// A part's content matrix as last computed, with what it was computed from:
// the part's transformation (bit for bit), its parent, and the number the
// parent's own content matrix had then. Numbers are handed out afresh on
// every computation, so equal inputs mean an equal result.
struct ContentCache {
    ftv::Mat4 matrix;
    ftv::Mat4 made_from;
    const Node* parent = nullptr;
    std::uint64_t parent_number = 0;
    std::uint64_t number = 0;
};

struct Node {
    std::uint32_t id = 0;  // 1, 2, ... in creation order; the root is 1
    std::string name;
    std::int32_t kind = kPart;

    Node* parent = nullptr;
    Node* first = nullptr;
    Node* last = nullptr;
    Node* next = nullptr;
    Node* prev = nullptr;

    ftv::Mat4 transformation = {{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}};
    ftv::Mat4 part_matrix = {{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}};
    std::uint32_t transformations_set = 0;  // how often the plug-in replaced it
    std::uint64_t transformed_at = 0;       // the scene's change count when it last did
    std::uint32_t part_matrices_set = 0;

    ftv::Vec3 center = {0, 0, 0};              // markers
    std::uint32_t input_values[2] = {0, 0};    // markers made by create_shape_at
    Mesh mesh;                                 // meshes

    // One stream per plug-in id. A stream handed out keeps its data alive after
    // make_stream has replaced it on the shape.
    std::vector<std::pair<ftv::PluginId, std::shared_ptr<StreamData>>> streams;

    std::unique_ptr<PartObject> part_object;  // made on first request
    // Made on the first request for this part's content matrix (scene.h).
    mutable std::unique_ptr<ContentCache> content_cache;

    bool is_part() const { return kind == kPart; }
    const StreamData* stream(ftv::PluginId id) const;
    std::vector<Node*> children() const;
};

}  // namespace refhost
