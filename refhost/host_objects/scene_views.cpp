#include "host_objects/scene_views.h"

#include <string>

#include "scene/imath_values.h"

namespace refhost {

// ---- ShapeView

const Node* ShapeView::shape(const char* operation) {
    if (node_ == nullptr) scene_->report_misuse(std::string(operation) + " on the end sentinel");
    return node_;
}

ftv::HostShape* ShapeView::first_child(void*) {
    operation();
    const Node* node = shape("HostShape::first_child");
    return scene_->shape_view(node ? node->first() : nullptr, node ? node : end_of_)->hand_out();
}

ftv::HostShape* ShapeView::next_sibling(void*) {
    operation();
    const Node* node = shape("HostShape::next_sibling");
    const Node* next = node ? node->next() : nullptr;
    const Node* list = node ? node->parent() : end_of_;
    if (scene_->sibling_mode == SiblingMode::in_place) {
        point_at(next, next ? nullptr : list);
        return this;
    }
    return scene_->shape_view(next, list)->hand_out();
}

bool ShapeView::is_end(void*) {
    operation();
    return node_ == nullptr;
}

std::int32_t ShapeView::kind(void*) {
    operation();
    const Node* node = shape("HostShape::kind");
    return node ? node->kind : 0;
}

const char* ShapeView::shape_name(void*) {
    operation();
    // The end sentinel has an empty name: the plug-in may compare it.
    return node_ ? node_->name.c_str() : "";
}

ftv::HostShape* ShapeView::parent(void*) {
    operation();
    const Node* node = shape("HostShape::parent");
    if (node == nullptr || node->parent() == nullptr) return nullptr;
    return scene_->shape_view(node->parent())->hand_out();
}

ftv::HostScene* ShapeView::scene(void*) {
    operation();
    return scene_->hand_out();
}

ftv::HostStream* ShapeView::find_stream(ftv::PluginId id, void*) {
    operation();
    scene_->count_stream_lookup();
    const Node* node = shape("HostShape::find_stream");
    std::shared_ptr<StreamData> data = node ? scene_->tree().shared_stream(*node, id) : nullptr;
    return data ? scene_->stream_view(std::move(data))->hand_out() : nullptr;
}

ftv::HostStream* ShapeView::make_stream(ftv::PluginId id, std::int32_t, std::int32_t, void*) {
    operation();
    const Node* node = shape("HostShape::make_stream");
    auto data = node ? scene_->tree().replace_stream(*node, id) : std::make_shared<StreamData>();
    return scene_->stream_view(std::move(data))->hand_out();
}

FTV_AGGREGATE(ftv::Mat4) ShapeView::local_to_world(FTV_RESULT_POINTER(ftv::Mat4) void*) {
    operation();
    const Node* node = shape("HostShape::local_to_world");
    FTV_RETURN(node ? scene_->tree().local_to_world(*node) : ftv::kIdentityMatrix);
}

FTV_AGGREGATE(ftv::Mat4) ShapeView::world_to_local(FTV_RESULT_POINTER(ftv::Mat4) void*) {
    operation();
    const Node* node = shape("HostShape::world_to_local");
    FTV_RETURN(node ? scene_->tree().world_to_local(*node) : ftv::kIdentityMatrix);
}

void ShapeView::set_transformation(const ftv::Mat4& matrix, void*) {
    operation();
    if (const Node* node = shape("HostShape::set_transformation")) scene_->tree().transform_for_plugin(*node, matrix);
}

ftv::HostCenterObject* ShapeView::center_object(void*) {
    operation();
    return scene_->center_view(shape("HostShape::center_object"))->hand_out();
}

ftv::HostPartObject* ShapeView::part_object(void*) {
    operation();
    const Node* node = shape("HostShape::part_object");
    if (node == nullptr || !node->is_part()) {
        scene_->report_misuse("HostShape::part_object of a shape that is not a part");
        return nullptr;
    }
    return &scene_->part_object(*node);
}

ftv::HostHandle ShapeView::part_handle(void*) {
    operation();
    const Node* node = shape("HostShape::part_handle");
    if (node == nullptr || !node->is_part()) {
        scene_->report_misuse("HostShape::part_handle of a shape that is not a part");
        return 0;
    }
    return Scene::handle_of(*node, Scene::HandleForm::part);
}

ftv::HostHandle ShapeView::handle(void*) {
    operation();
    const Node* node = shape("HostShape::handle");
    return node ? Scene::handle_of(*node, Scene::HandleForm::shape) : 0;
}

void ShapeView::move_after(ftv::HostHandle target, void*) {
    operation();
    const Node* node = shape("HostShape::move_after");
    const Node* anchor = scene_->node_from(target, Scene::HandleForm::move, "HostShape::move_after");
    if (node == nullptr || anchor == nullptr) return;
    if (node->parent() == nullptr) {
        scene_->report_misuse("HostShape::move_after would move the root part");
        return;
    }
    for (const Node* up = anchor; up != nullptr; up = up->parent()) {
        if (up == node) {
            scene_->report_misuse("HostShape::move_after would put " + scene_->tree().path_of(*node) + " inside itself");
            return;
        }
    }
    if (anchor->parent() == nullptr) {
        scene_->report_misuse("HostShape::move_after to beside the root part");
        return;
    }
    scene_->tree().move_after(*node, *anchor);
}

// ---- StreamView

void StreamView::rewind(std::int32_t, void*) {
    operation();
    position_ = 0;
}

void StreamView::read_int(std::int32_t* value, void*) {
    operation();
    *value = position_ < data_->size() ? (*data_)[position_] : 0;
    ++position_;
}

void StreamView::write_int(const std::int32_t* value, void*) {
    operation();
    if (position_ < data_->size()) {
        (*data_)[position_] = *value;
    } else {
        data_->resize(position_ + 1, 0);
        data_->back() = *value;
    }
    ++position_;
}

// ---- DialogObject

DialogRecord& DialogObject::record() { return scene_->dialog_script().record(record_); }

DialogItem* DialogObject::item(std::int32_t index, const char* operation) {
    auto& items = record().items;
    if (index < 0 || static_cast<std::size_t>(index) >= items.size()) {
        scene_->report_misuse(std::string(operation) + " of item " + std::to_string(index) + ", which does not exist");
        return nullptr;
    }
    return &items[static_cast<std::size_t>(index)];
}

void DialogObject::set_title(const char* title, void*) {
    operation();
    record().title = title;
}

void DialogObject::add_checkbox(std::int32_t type, const char* label, std::int32_t extra, void*) {
    operation();
    record().items.push_back(DialogItem{type, label, extra, false});
}

void DialogObject::set_checked(std::int32_t index, bool checked, void*) {
    operation();
    if (DialogItem* it = item(index, "HostDialog::set_checked")) it->checked = checked;
}

bool DialogObject::run_modal(std::int32_t, void*) {
    operation();
    DialogRecord& r = record();
    r.ran = true;
    for (const DialogItem& it : r.items) r.initial_checks.push_back(it.checked);
    const DialogAnswer answer = scene_->dialog_script().next_answer();
    if (answer.checked && !r.items.empty()) r.items[0].checked = *answer.checked;
    if (answer.second && r.items.size() > 1) r.items[1].checked = *answer.second;
    if (answer.third && r.items.size() > 2) r.items[2].checked = *answer.third;
    r.confirmed = answer.confirm;
    return answer.confirm;
}

void DialogObject::is_checked(std::int32_t index, bool* checked, void*) {
    operation();
    if (DialogItem* it = item(index, "HostDialog::is_checked")) *checked = it->checked;
}

// ---- CameraObject, CenterObject, PartObject

FTV_AGGREGATE(ftv::Vec3) CameraObject::eye_position(FTV_RESULT_POINTER(ftv::Vec3) std::int32_t, void*) {
    operation();
    FTV_RETURN(scene_->tree().camera_data().eye);
}

FTV_AGGREGATE(ftv::Vec3) CenterObject::center(FTV_RESULT_POINTER(ftv::Vec3) void*) {
    operation();
    FTV_RETURN(node_ ? scene_->tree().local_center(*node_) : ftv::Vec3{0, 0, 0});
}

void PartObject::set_matrix(const ftv::Mat4& matrix, void*) {
    operation();
    scene_->tree().set_part_matrix_for_plugin(*node_, matrix);
}

}  // namespace refhost
