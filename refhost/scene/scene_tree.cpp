#include "scene/scene_tree.h"

#include <cstring>

#include "scene/imath_values.h"

namespace refhost {

using ftv::Mat4;
using ftv::Vec3;

// ---- Node

std::vector<const Node*> Node::children() const {
    std::vector<const Node*> out;
    for (const Node* c = first_; c != nullptr; c = c->next_) out.push_back(c);
    return out;
}

const StreamData* Node::stream(ftv::PluginId id) const {
    for (const auto& [key, data] : streams_) {
        if (key == id) return data.get();
    }
    return nullptr;
}

std::vector<std::pair<ftv::PluginId, const StreamData*>> Node::streams() const {
    std::vector<std::pair<ftv::PluginId, const StreamData*>> out;
    for (const auto& [key, data] : streams_) out.emplace_back(key, data.get());
    return out;
}

// ---- The tree and its edits

SceneTree::SceneTree() : input_to_world_(ftv::kIdentityMatrix) {
    root_ = &new_node("root", kPart);
    current_part_ = root_;
}

Node& SceneTree::new_node(std::string name, std::int32_t kind) {
    Node& node = nodes_.emplace_back();
    node.id = static_cast<std::uint32_t>(nodes_.size());
    node.name = std::move(name);
    node.kind = kind;
    return node;
}

void SceneTree::append(const Node& parent_node, const Node& child_node) {
    Node& parent = edit(parent_node);
    Node& child = edit(child_node);
    child.parent_ = &parent;
    child.prev_ = parent.last_;
    child.next_ = nullptr;
    (parent.last_ != nullptr ? parent.last_->next_ : parent.first_) = &child;
    parent.last_ = &child;
}

void SceneTree::unlink(Node& node) {
    Node* parent = node.parent_;
    if (parent == nullptr) return;
    (node.prev_ ? node.prev_->next_ : parent->first_) = node.next_;
    (node.next_ ? node.next_->prev_ : parent->last_) = node.prev_;
    node.parent_ = node.prev_ = node.next_ = nullptr;
}

void SceneTree::link_after(Node& anchor, Node& node) {
    Node* parent = anchor.parent_;
    node.parent_ = parent;
    node.prev_ = &anchor;
    node.next_ = anchor.next_;
    (anchor.next_ ? anchor.next_->prev_ : parent->last_) = &node;
    anchor.next_ = &node;
}

void SceneTree::move_after(const Node& node, const Node& anchor) {
    if (&node == &anchor) return;
    unlink(edit(node));
    link_after(edit(anchor), edit(node));
}

void SceneTree::detach(const Node& node) {
    for (const Node* up = current_part_; up != nullptr; up = up->parent()) {
        if (up == &node) current_part_ = root_;
    }
    unlink(edit(node));
}

const Node& SceneTree::add_part(const Node& parent, std::string name) {
    Node& node = new_node(std::move(name), kPart);
    append(parent, node);
    return node;
}

const Node& SceneTree::add_marker(const Node& parent, Vec3 center, std::string name) {
    Node& node = new_node(std::move(name), kMarker);
    node.center = center;
    append(parent, node);
    return node;
}

const Node& SceneTree::add_mesh(const Node& parent, std::string name, Mesh mesh) {
    Node& node = new_node(std::move(name), kMesh);
    node.mesh = std::move(mesh);
    append(parent, node);
    return node;
}

void SceneTree::set_transformation(const Node& part, const Mat4& matrix) { edit(part).transformation = matrix; }

void SceneTree::set_part_matrix(const Node& part, const Mat4& matrix) { edit(part).part_matrix = matrix; }

void SceneTree::set_input_values(const Node& marker, std::uint32_t first, std::uint32_t second) {
    Node& node = edit(marker);
    node.input_values[0] = first;
    node.input_values[1] = second;
}

void SceneTree::set_stream(const Node& node, ftv::PluginId id, StreamData values) {
    *replace_stream(node, id) = std::move(values);
}

void SceneTree::transform_for_plugin(const Node& part, const Mat4& matrix) {
    Node& node = edit(part);
    node.transformation = matrix;
    ++node.transformations_set;
    node.transformed_at = ++plugin_changes_;
}

void SceneTree::set_part_matrix_for_plugin(const Node& part, const Mat4& matrix) {
    Node& node = edit(part);
    node.part_matrix = matrix;
    ++node.part_matrices_set;
}

std::shared_ptr<StreamData> SceneTree::shared_stream(const Node& node, ftv::PluginId id) const {
    for (const auto& [key, data] : node.streams_) {
        if (key == id) return data;
    }
    return nullptr;
}

std::shared_ptr<StreamData> SceneTree::replace_stream(const Node& node, ftv::PluginId id) {
    auto data = std::make_shared<StreamData>();
    auto& streams = edit(node).streams_;
    for (auto& [key, old] : streams) {
        if (key == id) {
            old = data;
            return data;
        }
    }
    streams.emplace_back(id, data);
    return data;
}

// ---- Paths

const Node* SceneTree::find(const std::string& path) const {
    const Node* node = root_;
    std::size_t start = 0;
    while (start < path.size()) {
        if (path[start] == '/') {
            ++start;
            continue;
        }
        std::size_t end = path.find('/', start);
        if (end == std::string::npos) end = path.size();
        const std::string name = path.substr(start, end - start);
        const Node* child = node->first();
        while (child != nullptr && child->name != name) child = child->next();
        if (child == nullptr) return nullptr;
        node = child;
        start = end;
    }
    return node;
}

std::string SceneTree::path_of(const Node& node) const {
    if (node.parent() == nullptr) return "/";
    // Names gathered upwards, joined downwards: a deep node's path costs its length, not its square.
    std::vector<const std::string*> names;
    for (const Node* n = &node; n->parent() != nullptr; n = n->parent()) names.push_back(&n->name);
    std::string path;
    for (auto name = names.rbegin(); name != names.rend(); ++name) path += "/" + **name;
    return path;
}

const Node* SceneTree::node_by_id(std::uint32_t id) const {
    if (id == 0 || id > nodes_.size()) return nullptr;
    return &nodes_[id - 1];
}

// ---- Matrices

const Mat4& SceneTree::content_of(const Node& part, std::uint64_t& number) const {
    static const Mat4 kIdentity = ftv::kIdentityMatrix;
    // The parts from part up to the root's child, worked down from the top:
    // a list, not the stack, for a scene may be as deep as the group creator made it.
    chain_.clear();
    for (const Node* up = &part; up->parent_ != nullptr; up = up->parent_) chain_.push_back(up);
    const Mat4* content = &kIdentity;
    std::uint64_t content_number = 0;
    for (auto down = chain_.rbegin(); down != chain_.rend(); ++down) {
        const Node& at = **down;
        Node::ContentCache* cache = at.content_cache_.get();
        if (cache == nullptr || cache->parent != at.parent_ || cache->parent_number != content_number ||
            std::memcmp(&cache->made_from, &at.transformation, sizeof(Mat4)) != 0) {
            if (cache == nullptr) {
                at.content_cache_ = std::make_unique<Node::ContentCache>();
                cache = at.content_cache_.get();
            }
            cache->matrix = product(at.transformation, *content);
            cache->made_from = at.transformation;
            cache->parent = at.parent_;
            cache->parent_number = content_number;
            cache->number = ++content_numbers_;
        }
        content = &cache->matrix;
        content_number = cache->number;
    }
    number = content_number;
    return *content;
}

Mat4 SceneTree::content_matrix(const Node& part) const {
    std::uint64_t number = 0;
    return content_of(part, number);
}

Mat4 SceneTree::local_to_world(const Node& shape) const {
    return shape.parent() == nullptr ? ftv::kIdentityMatrix : content_matrix(*shape.parent());
}

Mat4 SceneTree::world_to_local(const Node& part) const {
    return affine_inverse(part.is_part() ? content_matrix(part) : local_to_world(part));
}

Vec3 SceneTree::local_center(const Node& shape) const {
    if (shape.kind == kMarker) return shape.center;
    if (shape.kind == kMesh && !shape.mesh.vertices.empty()) {
        V3d sum(0, 0, 0);
        for (const Vec3& v : shape.mesh.vertices) sum += imath(v);
        return vec3(sum / static_cast<double>(shape.mesh.vertices.size()));
    }
    return {0, 0, 0};
}

Vec3 SceneTree::world_center(const Node& shape) const {
    return transform_point(local_center(shape), local_to_world(shape));
}

}  // namespace refhost
