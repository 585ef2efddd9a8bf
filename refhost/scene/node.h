// The data of a reference scene: shapes with their transformations, plug-in
// streams, marker centres and meshes, and a camera. A node's data is read
// through the const references the scene tree hands out; its links and
// streams are the tree's to change (scene_tree.h).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "geometry/primitives.h"
#include "host/contract.h"
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

struct Camera {
    ftv::Vec3 eye = {0, 0, 10};
    ftv::Vec3 target = {0, 0, 0};
};

class Node {
public:
    std::int32_t kind = kPart;
    std::uint32_t id = 0;  // 1, 2, ... in creation order; the root is 1

private:
    friend class SceneTree;

    // What a walk of the tree reads of every node (its kind and id, its links
    // and whether it has streams) lies together at the start, in one or two cache
    // lines: a walk over a scene beyond the caches then fetches no more.
    Node* parent_ = nullptr;
    Node* first_ = nullptr;
    Node* last_ = nullptr;
    Node* next_ = nullptr;
    Node* prev_ = nullptr;

    // One stream per plug-in id. A stream handed out keeps its data alive after
    // the plug-in has replaced it on the shape.
    std::vector<std::pair<ftv::PluginId, std::shared_ptr<StreamData>>> streams_;

public:
    std::string name;

    ftv::Mat4 transformation = {{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}};
    ftv::Mat4 part_matrix = {{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}};
    std::uint32_t transformations_set = 0;  // how often the plug-in replaced it
    std::uint64_t transformed_at = 0;       // the tree's change count when it last did
    std::uint32_t part_matrices_set = 0;

    ftv::Vec3 center = {0, 0, 0};            // markers
    std::uint32_t input_values[2] = {0, 0};  // markers made by create_shape_at
    Mesh mesh;                               // meshes

    bool is_part() const { return kind == kPart; }
    const Node* parent() const { return parent_; }
    const Node* first() const { return first_; }
    const Node* last() const { return last_; }
    const Node* next() const { return next_; }
    const Node* prev() const { return prev_; }
    std::vector<const Node*> children() const;

    const StreamData* stream(ftv::PluginId id) const;
    std::vector<std::pair<ftv::PluginId, const StreamData*>> streams() const;

private:
    // A part's content matrix as last computed, with what it was computed
    // from: the part's transformation (bit for bit), its parent, and the
    // number the parent's own content matrix had then. Numbers are handed out
    // afresh on every computation, so equal inputs mean an equal result.
    struct ContentCache {
        ftv::Mat4 matrix;
        ftv::Mat4 made_from;
        const Node* parent = nullptr;
        std::uint64_t parent_number = 0;
        std::uint64_t number = 0;
    };

    // Made on the first request for this part's content matrix.
    mutable std::unique_ptr<ContentCache> content_cache_;
};

}  // namespace refhost
