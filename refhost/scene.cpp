#include "scene.h"

#include <cstring>
#include <sstream>

#include "host_math.h"
#include "scene_objects.h"

namespace refhost {

using ftv::Mat4;
using ftv::Vec3;

// ---- Node

const StreamData* Node::stream(ftv::PluginId id) const {
    for (const auto& [key, data] : streams) {
        if (key == id) return data.get();
    }
    return nullptr;
}

std::vector<Node*> Node::children() const {
    std::vector<Node*> out;
    for (Node* c = first; c != nullptr; c = c->next) out.push_back(c);
    return out;
}

// ---- Scene: construction and the tree

Scene::Scene(Accounts& accounts) : Counted(accounts, "HostScene"), input_to_world_(identity()) {
    root_ = &new_node("root", kPart);
    current_part_ = root_;
    camera_object_ = std::make_unique<CameraObject>(accounts, *this);
}

Scene::~Scene() = default;

Node& Scene::new_node(std::string name, std::int32_t kind) {
    Node& node = nodes_.emplace_back();
    node.id = static_cast<std::uint32_t>(nodes_.size());
    node.name = std::move(name);
    node.kind = kind;
    return node;
}

void Scene::append(Node& parent, Node& child) {
    child.parent = &parent;
    child.prev = parent.last;
    child.next = nullptr;
    if (parent.last != nullptr) {
        parent.last->next = &child;
    } else {
        parent.first = &child;
    }
    parent.last = &child;
}

void Scene::unlink(Node& node) {
    Node* parent = node.parent;
    if (parent == nullptr) return;
    (node.prev ? node.prev->next : parent->first) = node.next;
    (node.next ? node.next->prev : parent->last) = node.prev;
    node.parent = node.prev = node.next = nullptr;
}

void Scene::link_after(Node& anchor, Node& node) {
    Node* parent = anchor.parent;
    node.parent = parent;
    node.prev = &anchor;
    node.next = anchor.next;
    (anchor.next ? anchor.next->prev : parent->last) = &node;
    anchor.next = &node;
}

void Scene::move_after(Node& node, Node& anchor) {
    if (&node == &anchor) return;
    unlink(node);
    link_after(anchor, node);
}

void Scene::detach(Node& node) {
    if (current_part_ != nullptr) {
        for (Node* up = current_part_; up != nullptr; up = up->parent) {
            if (up == &node) current_part_ = root_;
        }
    }
    unlink(node);
}

Node& Scene::add_part(Node& parent, std::string name) {
    Node& node = new_node(std::move(name), kPart);
    append(parent, node);
    return node;
}

Node& Scene::add_marker(Node& parent, Vec3 center, std::string name) {
    Node& node = new_node(std::move(name), kMarker);
    node.center = center;
    append(parent, node);
    return node;
}

Node& Scene::add_mesh(Node& parent, std::string name, Mesh mesh) {
    Node& node = new_node(std::move(name), kMesh);
    node.mesh = std::move(mesh);
    append(parent, node);
    return node;
}

void Scene::set_stream(Node& node, ftv::PluginId id, StreamData values) {
    auto data = std::make_shared<StreamData>(std::move(values));
    for (auto& [key, old] : node.streams) {
        if (key == id) {
            old = data;
            return;
        }
    }
    node.streams.emplace_back(id, std::move(data));
}

Node* Scene::find(const std::string& path) {
    Node* node = root_;
    std::size_t start = 0;
    while (start < path.size()) {
        if (path[start] == '/') {
            ++start;
            continue;
        }
        std::size_t end = path.find('/', start);
        if (end == std::string::npos) end = path.size();
        const std::string name = path.substr(start, end - start);
        Node* child = node->first;
        while (child != nullptr && child->name != name) child = child->next;
        if (child == nullptr) return nullptr;
        node = child;
        start = end;
    }
    return node;
}

std::string Scene::path_of(const Node& node) const {
    if (node.parent == nullptr) return "/";
    std::string path;
    for (const Node* n = &node; n->parent != nullptr; n = n->parent) path = "/" + n->name + path;
    return path;
}

Node* Scene::node_by_id(std::uint32_t id) {
    if (id == 0 || id > nodes_.size()) return nullptr;
    return &nodes_[id - 1];
}

Node* Scene::node_from(ftv::HostHandle handle, HandleForm form, const char* operation) {
    const auto tag = static_cast<ftv::HostHandle>(form);
    Node* node = (handle & ~kIdMask) == tag ? node_by_id(handle & kIdMask) : nullptr;
    if (node == nullptr) {
        std::ostringstream what;
        what << operation << " with 0x" << std::hex << handle << ", not a handle of the form it takes";
        report_misuse(what.str());
    }
    return node;
}

// ---- Scene: matrices

const Mat4& Scene::content_of(const Node& part, std::uint64_t& number) const {
    static const Mat4 kIdentity = identity();
    if (part.parent == nullptr) {
        number = 0;
        return kIdentity;
    }
    std::uint64_t parent_number = 0;
    const Mat4& parent_content = content_of(*part.parent, parent_number);
    ContentCache* cache = part.content_cache.get();
    if (cache != nullptr && cache->parent == part.parent && cache->parent_number == parent_number &&
        std::memcmp(&cache->made_from, &part.transformation, sizeof(Mat4)) == 0) {
        number = cache->number;
        return cache->matrix;
    }
    if (cache == nullptr) {
        part.content_cache = std::make_unique<ContentCache>();
        cache = part.content_cache.get();
    }
    cache->matrix = product(part.transformation, parent_content);
    cache->made_from = part.transformation;
    cache->parent = part.parent;
    cache->parent_number = parent_number;
    cache->number = ++content_numbers_;
    number = cache->number;
    return cache->matrix;
}

Mat4 Scene::content_matrix(const Node& part) const {
    std::uint64_t number = 0;
    return content_of(part, number);
}

Mat4 Scene::local_to_world(const Node& shape) const {
    return shape.parent == nullptr ? identity() : content_matrix(*shape.parent);
}

Mat4 Scene::world_to_local(const Node& part) const {
    return affine_inverse(part.is_part() ? content_matrix(part) : local_to_world(part));
}

Vec3 Scene::local_center(const Node& shape) const {
    if (shape.kind == kMarker) return shape.center;
    if (shape.kind == kMesh && !shape.mesh.vertices.empty()) {
        double sum[3] = {0, 0, 0};
        for (const Vec3& v : shape.mesh.vertices) {
            sum[0] += v.x;
            sum[1] += v.y;
            sum[2] += v.z;
        }
        const double n = static_cast<double>(shape.mesh.vertices.size());
        return {static_cast<float>(sum[0] / n), static_cast<float>(sum[1] / n), static_cast<float>(sum[2] / n)};
    }
    return {0, 0, 0};
}

Vec3 Scene::world_center(const Node& shape) const {
    Vec3 out;
    ftv::transform_point(local_center(shape), local_to_world(shape), out);
    return out;
}

// ---- Scene: pooled views

ShapeView* Scene::shape_view(Node* node, Node* end_of) {
    ShapeView* view = shape_views_.take(accounts(), *this);
    view->point_at(node, end_of);
    return view;
}

ftv::HostShape* Scene::scene_owned_view(Node* node) {
    ShapeView* view = scene_owned_views_.emplace_back(std::make_unique<ShapeView>(accounts(), *this)).get();
    view->point_at(node, nullptr);
    return view;
}

StreamView* Scene::stream_view(std::shared_ptr<StreamData> data) {
    StreamView* view = stream_views_.take(accounts(), *this);
    view->point_at(std::move(data));
    return view;
}

CenterObject* Scene::center_view(Node* node) {
    CenterObject* view = center_objects_.take(accounts(), *this);
    view->point_at(node);
    return view;
}

void Scene::recycle(ShapeView* view) { shape_views_.give_back(view); }
void Scene::recycle(StreamView* view) { stream_views_.give_back(view); }
void Scene::recycle(DialogObject* dialog) { dialog_objects_.give_back(dialog); }
void Scene::recycle(CenterObject* center) { center_objects_.give_back(center); }

std::size_t Scene::record_dialog() {
    dialogs_.emplace_back();
    return dialogs_.size() - 1;
}

bool Scene::next_answer(DialogAnswer& answer) {
    if (answers_.empty()) {
        answer = DialogAnswer{};
        return false;
    }
    answer = answers_.front();
    answers_.pop_front();
    return true;
}

// ---- Scene: HostScene operations

ftv::HostShape* Scene::root_part(void*) {
    operation("HostScene::root_part");
    return shape_view(root_)->hand_out();
}

ftv::HostDialog* Scene::new_dialog(std::int32_t, void*) {
    operation("HostScene::new_dialog");
    DialogObject* dialog = dialog_objects_.take(accounts(), *this);
    dialog->start(record_dialog());
    return dialog->hand_out();
}

ftv::HostCamera* Scene::camera(void*) {
    operation("HostScene::camera");
    return camera_object_->hand_out();
}

REFHOST_AGGREGATE(Mat4) Scene::rotation_between(REFHOST_RESULT_PARAM(Mat4) const Vec3& from, const Vec3& to, void*) {
    operation("HostScene::rotation_between");
    REFHOST_RETURN(refhost::rotation_between(from, to));
}

std::int32_t Scene::selection_count(void*) {
    operation("HostScene::selection_count");
    return static_cast<std::int32_t>(selection_.size());
}

ftv::HostShape* Scene::selected_shape(std::int32_t index, void*) {
    operation("HostScene::selected_shape");
    if (index < 0 || static_cast<std::size_t>(index) >= selection_.size()) {
        report_misuse("HostScene::selected_shape " + std::to_string(index) + " beyond the selection");
        return nullptr;
    }
    return shape_view(selection_[static_cast<std::size_t>(index)])->hand_out();
}

void Scene::set_current_part(ftv::HostHandle part_handle, void*) {
    operation("HostScene::set_current_part");
    if (Node* part = node_from(part_handle, HandleForm::part, "HostScene::set_current_part")) current_part_ = part;
}

ftv::HostShape* Scene::begin_part(const char* name, void*) {
    operation("HostScene::begin_part");
    Node& part = add_part(*current_part_, name);
    open_parts_.push_back(current_part_);
    current_part_ = &part;
    return scene_owned_view(&part);
}

void Scene::end_part(void*) {
    operation("HostScene::end_part");
    if (open_parts_.empty()) {
        report_misuse("HostScene::end_part without begin_part");
        return;
    }
    current_part_ = open_parts_.back();
    open_parts_.pop_back();
}

void Scene::end_creation(void*) { operation("HostScene::end_creation"); }

REFHOST_AGGREGATE(Mat4) Scene::input_to_world(REFHOST_RESULT_PARAM(Mat4) void*) {
    operation("HostScene::input_to_world");
    REFHOST_RETURN(input_to_world_);
}

ftv::HostShape* Scene::create_shape_at(const char* name, const Vec3* position, std::uint32_t first,
                                       std::uint32_t second, void*) {
    operation("HostScene::create_shape_at");
    Node& marker = add_marker(*current_part_, *position, name);
    marker.input_values[0] = first;
    marker.input_values[1] = second;
    return scene_owned_view(&marker);
}

ftv::HostHandle Scene::shape_from_handle(ftv::HostHandle shape_handle, void*) {
    operation("HostScene::shape_from_handle");
    Node* node = node_from(shape_handle, HandleForm::shape, "HostScene::shape_from_handle");
    return node ? handle_of(*node, HandleForm::move) : 0;
}

void Scene::activate_shape(ftv::HostHandle shape_handle, void*) {
    operation("HostScene::activate_shape");
    if (Node* node = node_from(shape_handle, HandleForm::shape, "HostScene::activate_shape")) active_shape_ = node;
}

}  // namespace refhost
