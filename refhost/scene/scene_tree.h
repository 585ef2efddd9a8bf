// The tree of a reference scene: its nodes and their edits, paths, the
// camera, the selection, and the matrices the scene semantics define, kept
// until what they depend on changes. It hands out const references only:
// every change goes through one of its setters.
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
#include <new>
#include <string>
#include <vector>

#include "scene/node.h"

namespace refhost {

// Nodes in creation order, at addresses that never move, stored a chunk of
// many at a time one after the other. (A std::deque keeps a node of this size
// in an allocation of its own: a walk of a large scene then jumps between
// scattered allocations where here it runs along memory the processor
// fetches ahead.) A node is constructed only when it is added: a small scene
// then touches a few pages of its first chunk, not all of them, which tests
// and fuzzers that make thousands of scenes would otherwise pay for.
class NodeStore {
public:
    NodeStore() = default;
    NodeStore(const NodeStore&) = delete;
    NodeStore& operator=(const NodeStore&) = delete;
    ~NodeStore() {
        for (std::size_t i = size_; i-- > 0;) (*this)[i].~Node();
    }

    Node& emplace_back() {
        // new Slot[] leaves the bytes as they are; make_unique would zero them.
        if (size_ % kChunk == 0) chunks_.push_back(std::unique_ptr<Slot[]>(new Slot[kChunk]));
        Node* node = new (chunks_.back()[size_ % kChunk].bytes) Node();
        ++size_;
        return *node;
    }
    std::size_t size() const { return size_; }
    Node& operator[](std::size_t i) { return *std::launder(reinterpret_cast<Node*>(slot(i).bytes)); }
    const Node& operator[](std::size_t i) const { return *std::launder(reinterpret_cast<const Node*>(slot(i).bytes)); }

private:
    struct Slot {
        alignas(Node) unsigned char bytes[sizeof(Node)];
    };
    Slot& slot(std::size_t i) const { return chunks_[i / kChunk][i % kChunk]; }

    static constexpr std::size_t kChunk = 1024;
    std::vector<std::unique_ptr<Slot[]>> chunks_;
    std::size_t size_ = 0;
};

class SceneTree {
public:
    SceneTree();
    SceneTree(const SceneTree&) = delete;
    SceneTree& operator=(const SceneTree&) = delete;

    const Node& root() const { return *root_; }
    const Node& add_part(const Node& parent, std::string name);
    const Node& add_marker(const Node& parent, ftv::Vec3 center, std::string name = ftv::kMarkerName);
    const Node& add_mesh(const Node& parent, std::string name, Mesh mesh);
    // Adds a shape as the last child of parent; it must not be in the tree.
    void append(const Node& parent, const Node& child);
    // Moves node to directly after anchor, in anchor's part.
    void move_after(const Node& node, const Node& anchor);
    // Removes a shape and everything below it from the tree. The nodes stay
    // allocated (objects the plug-in still holds may point at them).
    void detach(const Node& node);

    void set_transformation(const Node& part, const ftv::Mat4& matrix);
    void set_part_matrix(const Node& part, const ftv::Mat4& matrix);
    void set_input_values(const Node& marker, std::uint32_t first, std::uint32_t second);
    void set_stream(const Node& node, ftv::PluginId id, StreamData values);

    // Changes the plug-in makes, counted on the node (Node::transformations_set,
    // transformed_at, part_matrices_set) so that tests can tell what it did.
    void transform_for_plugin(const Node& part, const ftv::Mat4& matrix);
    void set_part_matrix_for_plugin(const Node& part, const ftv::Mat4& matrix);
    // Stream data shared with the host objects that read and write it: the
    // node's stream (null when it has none), or a new, empty one that
    // replaces it on the node.
    std::shared_ptr<StreamData> shared_stream(const Node& node, ftv::PluginId id) const;
    std::shared_ptr<StreamData> replace_stream(const Node& node, ftv::PluginId id);

    // The node at a path of names below the root ("/A/B"), or null.
    const Node* find(const std::string& path) const;
    std::string path_of(const Node& node) const;
    // Null for an id no node has.
    const Node* node_by_id(std::uint32_t id) const;
    // Asks the processor to fetch what a walk reads of the node made a few
    // after node (its start up to its streams, which span two cache lines
    // for most nodes): a walk of a tree built in order reaches it next, and a
    // large scene would otherwise wait on memory at every node.
    //
    // Always inlined: GCC 12 otherwise finds the function free of effects, as
    // a prefetch changes nothing it can see, and drops every call to it.
    __attribute__((always_inline)) void fetch_ahead(const Node& node) const {
        const std::size_t ahead = node.id - 1 + kFetchAhead;
        if (ahead >= nodes_.size()) return;
        const Node& next = nodes_[ahead];
        __builtin_prefetch(&next);
        __builtin_prefetch(reinterpret_cast<const char*>(&next.streams_ + 1) - 1);
    }
    std::size_t node_count() const { return nodes_.size(); }

    const Camera& camera_data() const { return camera_; }
    void set_camera(const Camera& camera) { camera_ = camera; }
    void set_eye(const ftv::Vec3& eye) { camera_.eye = eye; }
    const ftv::Mat4& input_matrix() const { return input_to_world_; }
    void set_input_matrix(const ftv::Mat4& matrix) { input_to_world_ = matrix; }
    const std::vector<const Node*>& selection() const { return selection_; }
    void set_selection(std::vector<const Node*> shapes) { selection_ = std::move(shapes); }
    // The part new shapes go into; the root unless changed.
    const Node& current_part() const { return *current_part_; }
    void make_current(const Node& part) { current_part_ = &part; }

    // Matrices as the scene semantics define them.
    ftv::Mat4 content_matrix(const Node& part) const;
    ftv::Mat4 local_to_world(const Node& shape) const;
    ftv::Mat4 world_to_local(const Node& part) const;
    // The centre of a marker or mesh, in its part's coordinates and in the world's.
    ftv::Vec3 local_center(const Node& shape) const;
    ftv::Vec3 world_center(const Node& shape) const;

private:
    Node& edit(const Node& node) { return nodes_[node.id - 1]; }
    Node& new_node(std::string name, std::int32_t kind);
    void link_after(Node& anchor, Node& node);
    void unlink(Node& node);
    // The content matrix of part and, in number, the number it was computed
    // under (0: the root's identity). Computed again only when the part's
    // transformation, its parent or its parent's content matrix changed, so
    // that a deep tree costs a comparison per level and not a product.
    const ftv::Mat4& content_of(const Node& part, std::uint64_t& number) const;

    // Far enough that a node's lines arrive from memory (about 100 ns) while
    // the walk handles the nodes before it, near enough that they are still
    // in cache when it gets there: 6 to 20 measured alike on the one-in-ten
    // and rotated scenes of 10^6 parts.
    static constexpr std::size_t kFetchAhead = 12;
    NodeStore nodes_;
    Node* root_ = nullptr;
    const Node* current_part_ = nullptr;
    std::vector<const Node*> selection_;
    Camera camera_;
    ftv::Mat4 input_to_world_;
    std::uint64_t plugin_changes_ = 0;  // transformations the plug-in set, in all; each stamps its node
    mutable std::uint64_t content_numbers_ = 0;
    mutable std::vector<const Node*> chain_;  // content_of's list of parts, kept for its memory
};

}  // namespace refhost
