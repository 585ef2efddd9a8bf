// A reference scene as the plug-in sees it: HostScene over a scene tree
// (scene/scene_tree.h), which it holds, and the host objects it hands out
// (scene_views.h).
//
// Besides the scene semantics of the tree:
// - rotation_between is the shortest-arc rotation (below).
// - Dialogs are scripted (dialog_script.h).
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
#include <memory>
#include <string>
#include <vector>

#include "host/host_scene.h"
#include "host_objects/counted.h"
#include "host_objects/dialog_script.h"
#include "host_objects/pool.h"
#include "scene/scene_tree.h"

namespace refhost {

class ShapeView;
class StreamView;
class DialogObject;
class CameraObject;
class CenterObject;
class PartObject;

// What HostScene::rotation_between answers: the shortest-arc rotation, in the
// row-vector convention, that turns the direction from onto the direction
// to. Opposite directions give a half turn about an axis perpendicular to
// from; a zero or not finite direction gives the identity.
ftv::Mat4 rotation_between(const ftv::Vec3& from, const ftv::Vec3& to);

enum class SiblingMode {
    fresh,     // next_sibling hands out a new object with a reference of its own
    in_place,  // next_sibling moves the object it is called on and hands it back
};

class Scene final : public Counted<ftv::HostScene> {
public:
    explicit Scene(Accounts& accounts);
    ~Scene() override;

    // The scene's data and rules, which the host objects read and change.
    SceneTree& tree() { return tree_; }
    const SceneTree& tree() const { return tree_; }

    // HostScene
    ftv::HostShape* root_part(void* = nullptr) override;
    ftv::HostDialog* new_dialog(std::int32_t, void* = nullptr) override;
    ftv::HostCamera* camera(void* = nullptr) override;
    FTV_AGGREGATE(ftv::Mat4) rotation_between(FTV_RESULT_POINTER(ftv::Mat4) const ftv::Vec3& from,
                                                  const ftv::Vec3& to, void* = nullptr) override;
    std::int32_t selection_count(void* = nullptr) override;
    ftv::HostShape* selected_shape(std::int32_t index, void* = nullptr) override;
    void set_current_part(ftv::HostHandle part_handle, void* = nullptr) override;
    ftv::HostShape* begin_part(const char* name, void* = nullptr) override;
    void end_part(void* = nullptr) override;
    void end_creation(void* = nullptr) override;
    FTV_AGGREGATE(ftv::Mat4) input_to_world(FTV_RESULT_POINTER(ftv::Mat4) void* = nullptr) override;
    ftv::HostShape* create_shape_at(const char* name, const ftv::Vec3* position, std::uint32_t first,
                                    std::uint32_t second, void* = nullptr) override;
    ftv::HostHandle shape_from_handle(ftv::HostHandle shape_handle, void* = nullptr) override;
    void activate_shape(ftv::HostHandle shape_handle, void* = nullptr) override;

    SiblingMode sibling_mode = SiblingMode::fresh;
    const Node* active_shape() const { return active_shape_; }
    // How often the plug-in looked up a shape's stream: the walk does so once
    // for every part it reaches.
    std::uint64_t stream_lookups() const { return stream_lookups_; }
    void count_stream_lookup() { ++stream_lookups_; }

    void queue_answer(DialogAnswer answer) { dialog_script_.queue_answer(answer); }
    std::size_t queued_answers() const { return dialog_script_.queued_answers(); }
    const std::vector<DialogRecord>& dialogs() const { return dialog_script_.dialogs(); }
    DialogScript& dialog_script() { return dialog_script_; }

    const std::vector<std::string>& misuse() const { return misuse_; }
    void report_misuse(std::string what) { misuse_.push_back(std::move(what)); }

    // Handle forms (see above).
    enum class HandleForm : ftv::HostHandle { shape = 0x10000000u, part = 0x20000000u, move = 0x40000000u };
    static ftv::HostHandle handle_of(const Node& node, HandleForm form) {
        return node.id | static_cast<ftv::HostHandle>(form);
    }
    // The node a handle of that form names, or null (reported as misuse).
    const Node* node_from(ftv::HostHandle handle, HandleForm form, const char* operation);

    // Views handed to the plug-in. Pooled: a view whose last reference comes
    // back is used again. node null: the end sentinel of end_of's child list.
    ShapeView* shape_view(const Node* node, const Node* end_of = nullptr);
    StreamView* stream_view(std::shared_ptr<StreamData> data);
    CenterObject* center_view(const Node* node);
    // A view the scene keeps: the plug-in never releases it.
    ftv::HostShape* scene_owned_view(const Node& node);
    // The part's HostPartObject, made on first request and kept by the scene.
    PartObject& part_object(const Node& part);
    void recycle(ShapeView* view);
    void recycle(StreamView* view);
    void recycle(DialogObject* dialog);
    void recycle(CenterObject* center);

private:
    static constexpr ftv::HostHandle kIdMask = 0x0FFFFFFFu;

    SceneTree tree_;
    std::vector<const Node*> open_parts_;
    const Node* active_shape_ = nullptr;
    std::uint64_t stream_lookups_ = 0;

    std::unique_ptr<CameraObject> camera_object_;
    Pool<ShapeView> shape_views_;
    Pool<StreamView> stream_views_;
    Pool<DialogObject> dialog_objects_;
    Pool<CenterObject> center_objects_;
    std::vector<std::unique_ptr<ShapeView>> scene_owned_views_;
    std::vector<std::unique_ptr<PartObject>> part_objects_;  // by node id - 1

    DialogScript dialog_script_;
    std::vector<std::string> misuse_;
};

}  // namespace refhost
