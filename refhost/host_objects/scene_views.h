// The host objects a reference scene hands to the plug-in: views onto its
// nodes, streams, dialogs and camera.
#pragma once

#include <memory>

#include "host/host_camera.h"
#include "host/host_center_object.h"
#include "host/host_dialog.h"
#include "host/host_part_object.h"
#include "host/host_shape.h"
#include "host/host_stream.h"
#include "host_objects/host_scene.h"

namespace refhost {

class ShapeView final : public Counted<ftv::HostShape> {
public:
    ShapeView(Accounts& accounts, Scene& scene) : Counted(accounts, "HostShape"), scene_(&scene) {}
    // node null: the end sentinel of end_of's child list.
    void point_at(const Node* node, const Node* end_of) {
        node_ = node;
        end_of_ = end_of;
        if (node) scene_->tree().fetch_ahead(*node);
    }
    const Node* node() const { return node_; }

    ftv::HostShape* first_child(void* = nullptr) override;
    ftv::HostShape* next_sibling(void* = nullptr) override;
    bool is_end(void* = nullptr) override;
    std::int32_t kind(void* = nullptr) override;
    const char* shape_name(void* = nullptr) override;
    ftv::HostShape* parent(void* = nullptr) override;
    ftv::HostScene* scene(void* = nullptr) override;
    ftv::HostStream* find_stream(ftv::PluginId id, void* = nullptr) override;
    ftv::HostStream* make_stream(ftv::PluginId id, std::int32_t, std::int32_t, void* = nullptr) override;
    FTV_AGGREGATE(ftv::Mat4) local_to_world(FTV_RESULT_POINTER(ftv::Mat4) void* = nullptr) override;
    FTV_AGGREGATE(ftv::Mat4) world_to_local(FTV_RESULT_POINTER(ftv::Mat4) void* = nullptr) override;
    void set_transformation(const ftv::Mat4& matrix, void* = nullptr) override;
    ftv::HostCenterObject* center_object(void* = nullptr) override;
    ftv::HostPartObject* part_object(void* = nullptr) override;
    ftv::HostHandle part_handle(void* = nullptr) override;
    ftv::HostHandle handle(void* = nullptr) override;
    void move_after(ftv::HostHandle target, void* = nullptr) override;

protected:
    void unreferenced() override { scene_->recycle(this); }

private:
    // The node, or null (reported as misuse) for the end sentinel.
    const Node* shape(const char* operation);

    Scene* scene_;
    const Node* node_ = nullptr;
    const Node* end_of_ = nullptr;
};

class StreamView final : public Counted<ftv::HostStream> {
public:
    StreamView(Accounts& accounts, Scene& scene) : Counted(accounts, "HostStream"), scene_(&scene) {}
    void point_at(std::shared_ptr<StreamData> data) {
        data_ = std::move(data);
        position_ = 0;
    }

    void rewind(std::int32_t, void* = nullptr) override;
    void read_int(std::int32_t* value, void* = nullptr) override;
    void write_int(const std::int32_t* value, void* = nullptr) override;

protected:
    void unreferenced() override {
        data_.reset();
        scene_->recycle(this);
    }

private:
    Scene* scene_;
    std::shared_ptr<StreamData> data_;
    std::size_t position_ = 0;
};

class DialogObject final : public Counted<ftv::HostDialog> {
public:
    DialogObject(Accounts& accounts, Scene& scene) : Counted(accounts, "HostDialog"), scene_(&scene) {}
    void start(std::size_t record) { record_ = record; }

    void set_title(const char* title, void* = nullptr) override;
    void add_checkbox(std::int32_t type, const char* label, std::int32_t extra, void* = nullptr) override;
    void set_checked(std::int32_t item, bool checked, void* = nullptr) override;
    bool run_modal(std::int32_t, void* = nullptr) override;
    void is_checked(std::int32_t item, bool* checked, void* = nullptr) override;

protected:
    void unreferenced() override { scene_->recycle(this); }

private:
    DialogRecord& record();
    DialogItem* item(std::int32_t index, const char* operation);

    Scene* scene_;
    std::size_t record_ = 0;
};

class CameraObject final : public Counted<ftv::HostCamera> {
public:
    CameraObject(Accounts& accounts, Scene& scene) : Counted(accounts, "HostCamera"), scene_(&scene) {}
    FTV_AGGREGATE(ftv::Vec3) eye_position(FTV_RESULT_POINTER(ftv::Vec3) std::int32_t, void* = nullptr) override;

private:
    Scene* scene_;
};

class CenterObject final : public Counted<ftv::HostCenterObject> {
public:
    CenterObject(Accounts& accounts, Scene& scene) : Counted(accounts, "HostCenterObject"), scene_(&scene) {}
    void point_at(const Node* node) { node_ = node; }
    FTV_AGGREGATE(ftv::Vec3) center(FTV_RESULT_POINTER(ftv::Vec3) void* = nullptr) override;

protected:
    void unreferenced() override { scene_->recycle(this); }

private:
    Scene* scene_;
    const Node* node_ = nullptr;
};

// Owned by the scene: the plug-in never releases it.
class PartObject final : public Counted<ftv::HostPartObject> {
public:
    PartObject(Accounts& accounts, Scene& scene, const Node& node)
        : Counted(accounts, "HostPartObject"), scene_(&scene), node_(&node) {}
    void set_matrix(const ftv::Mat4& matrix, void* = nullptr) override;

private:
    Scene* scene_;
    const Node* node_;
};

}  // namespace refhost
