// A reference scene: the in-memory scene the plug-in sees through HostScene,
// HostShape and the other host objects, with the means for tests and for
// ftv-host to build it, script its dialogs and inspect the result.
//
// Scene semantics are described in scene_model.h. Besides them:
// - rotation_between is the shortest-arc rotation (host_math.h).
// - Dialogs are scripted: each run_modal takes the next queued answer (none
//   queued: cancel) and every dialog is recorded as the plug-in built it.
// - HostShape::next_sibling works in one of two forms, chosen per scene: a
//   fresh object for every child, or the same object moved along the list.
// - Handles: HostShape::handle, HostShape::part_handle and
//   HostScene::shape_from_handle give three different forms of a shape's id,
//   and each operation that takes one accepts only its own form, so a handle
//   passed in the wrong place is caught.
// - Misuse (a handle of the wrong form, a move that would cut the tree or
//   make a cycle, an item that does not exist) changes nothing and is
//   recorded in misuse().
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "aggregate_results.h"
#include "counted.h"
#include "host/host_scene.h"
#include "scene_model.h"

namespace refhost {

class ShapeView;
class StreamView;
class DialogObject;
class CameraObject;
class CenterObject;

enum class SiblingMode {
    fresh,     // next_sibling hands out a new object with a reference of its own
    in_place,  // next_sibling moves the object it is called on and hands it back
};

struct DialogAnswer {
    // Cancelled, the boxes as shown, unless said otherwise.
    DialogAnswer(bool confirmed = false, std::optional<bool> first = {}, std::optional<bool> second_box = {})
        : confirm(confirmed), checked(first), second(second_box) {}

    bool confirm;
    std::optional<bool> checked;  // the box as the user leaves it; unset: as shown
    std::optional<bool> second;   // likewise the second box, in a dialog that has one
};

struct DialogItem {
    std::int32_t type = 0;
    std::string label;  // the bytes the plug-in passed
    std::int32_t extra = 0;
    bool checked = false;
};

struct DialogRecord {
    std::string title;  // the bytes the plug-in passed
    std::vector<DialogItem> items;
    std::vector<bool> initial_checks;  // as the plug-in set them before running
    bool ran = false;
    bool confirmed = false;
};

struct Camera {
    ftv::Vec3 eye = {0, 0, 10};
    ftv::Vec3 target = {0, 0, 0};
};

// Host objects handed out over and over: one whose last reference comes back
// is used again, so a long run does not grow.
template <class T>
class Pool {
public:
    template <class... Args>
    T* take(Args&&... args) {
        if (free_.empty()) return all_.emplace_back(std::make_unique<T>(std::forward<Args>(args)...)).get();
        T* object = free_.back();
        free_.pop_back();
        return object;
    }
    void give_back(T* object) { free_.push_back(object); }

private:
    std::vector<std::unique_ptr<T>> all_;
    std::vector<T*> free_;
};

class Scene final : public Counted<ftv::HostScene> {
public:
    explicit Scene(Accounts& accounts);
    ~Scene() override;

    // HostScene
    ftv::HostShape* root_part(void* = nullptr) override;
    ftv::HostDialog* new_dialog(std::int32_t, void* = nullptr) override;
    ftv::HostCamera* camera(void* = nullptr) override;
    REFHOST_AGGREGATE(ftv::Mat4) rotation_between(REFHOST_RESULT_PARAM(ftv::Mat4) const ftv::Vec3& from,
                                                  const ftv::Vec3& to, void* = nullptr) override;
    std::int32_t selection_count(void* = nullptr) override;
    ftv::HostShape* selected_shape(std::int32_t index, void* = nullptr) override;
    void set_current_part(ftv::HostHandle part_handle, void* = nullptr) override;
    ftv::HostShape* begin_part(const char* name, void* = nullptr) override;
    void end_part(void* = nullptr) override;
    void end_creation(void* = nullptr) override;
    REFHOST_AGGREGATE(ftv::Mat4) input_to_world(REFHOST_RESULT_PARAM(ftv::Mat4) void* = nullptr) override;
    ftv::HostShape* create_shape_at(const char* name, const ftv::Vec3* position, std::uint32_t first,
                                    std::uint32_t second, void* = nullptr) override;
    ftv::HostHandle shape_from_handle(ftv::HostHandle shape_handle, void* = nullptr) override;
    void activate_shape(ftv::HostHandle shape_handle, void* = nullptr) override;

    // Building and inspecting the tree.
    Node& root() { return *root_; }
    const Node& root() const { return *root_; }
    Node& add_part(Node& parent, std::string name);
    Node& add_marker(Node& parent, ftv::Vec3 center, std::string name = "#center");
    Node& add_mesh(Node& parent, std::string name, Mesh mesh);
    // Adds a shape as the last child of parent; it must not be in the tree yet.
    void append(Node& parent, Node& child);
    void set_stream(Node& node, ftv::PluginId id, StreamData values);
    // The node at a path of names below the root ("/A/B"), or null.
    Node* find(const std::string& path);
    std::string path_of(const Node& node) const;
    Node* node_by_id(std::uint32_t id);
    std::size_t node_count() const { return nodes_.size(); }
    // Removes a shape and everything below it from the tree. The nodes stay
    // allocated (objects the plug-in still holds may point at them).
    void detach(Node& node);

    // Matrices as the scene semantics define them.
    ftv::Mat4 content_matrix(const Node& part) const;
    ftv::Mat4 local_to_world(const Node& shape) const;
    ftv::Mat4 world_to_local(const Node& part) const;
    // The world position of a marker's or mesh's centre.
    ftv::Vec3 world_center(const Node& shape) const;
    ftv::Vec3 local_center(const Node& shape) const;

    Camera& camera_data() { return camera_; }
    const Camera& camera_data() const { return camera_; }
    ftv::Mat4& input_matrix() { return input_to_world_; }
    Node*& current_part() { return current_part_; }
    std::vector<Node*>& selection() { return selection_; }
    Node* active_shape() const { return active_shape_; }

    SiblingMode sibling_mode = SiblingMode::fresh;
    // Counts the transformations the plug-in set, so tests can tell their order.
    std::uint64_t changes = 0;

    void queue_answer(DialogAnswer answer) { answers_.push_back(answer); }
    std::size_t queued_answers() const { return answers_.size(); }
    const std::vector<DialogRecord>& dialogs() const { return dialogs_; }
    const std::vector<std::string>& misuse() const { return misuse_; }
    void report_misuse(std::string what) { misuse_.push_back(std::move(what)); }

    // Handle forms (see above).
    enum class HandleForm : ftv::HostHandle { shape = 0x10000000u, part = 0x20000000u, move = 0x40000000u };
    static ftv::HostHandle handle_of(const Node& node, HandleForm form) {
        return node.id | static_cast<ftv::HostHandle>(form);
    }
    // The node a handle of that form names, or null (reported as misuse).
    Node* node_from(ftv::HostHandle handle, HandleForm form, const char* operation);
    // Moves node to directly after anchor, in anchor's part.
    void move_after(Node& node, Node& anchor);

    // Views handed to the plug-in. Pooled: a view whose last reference comes
    // back is used again.
    ShapeView* shape_view(Node* node, Node* end_of = nullptr);
    StreamView* stream_view(std::shared_ptr<StreamData> data);
    ftv::HostShape* scene_owned_view(Node* node);
    void recycle(ShapeView* view);
    void recycle(StreamView* view);
    void recycle(DialogObject* dialog);
    void recycle(CenterObject* center);
    CenterObject* center_view(Node* node);
    // A new dialog record; its index names it to the dialog object.
    std::size_t record_dialog();
    DialogRecord& dialog_record(std::size_t index) { return dialogs_[index]; }
    bool next_answer(DialogAnswer& answer);

private:
    static constexpr ftv::HostHandle kIdMask = 0x0FFFFFFFu;

    Node& new_node(std::string name, std::int32_t kind);
    // The content matrix of part and, in number, the number it was computed
    // under (0: the root's identity). Computed again only when the part's
    // transformation, its parent or its parent's content matrix changed, so
    // that a deep tree costs a comparison per level and not a product.
    const ftv::Mat4& content_of(const Node& part, std::uint64_t& number) const;
    void link_after(Node& anchor, Node& node);
    void unlink(Node& node);

    std::deque<Node> nodes_;
    mutable std::uint64_t content_numbers_ = 0;
    Node* root_ = nullptr;
    Node* current_part_ = nullptr;
    std::vector<Node*> open_parts_;
    std::vector<Node*> selection_;
    Node* active_shape_ = nullptr;
    Camera camera_;
    ftv::Mat4 input_to_world_;

    std::unique_ptr<CameraObject> camera_object_;
    Pool<ShapeView> shape_views_;
    Pool<StreamView> stream_views_;
    Pool<DialogObject> dialog_objects_;
    Pool<CenterObject> center_objects_;
    std::vector<std::unique_ptr<ShapeView>> scene_owned_views_;

    std::deque<DialogAnswer> answers_;
    std::vector<DialogRecord> dialogs_;
    std::vector<std::string> misuse_;
};

}  // namespace refhost
