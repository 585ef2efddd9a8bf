#include "host_objects/host_scene.h"

#include <cmath>
#include <sstream>

#include "host_objects/scene_views.h"
#include "scene/imath_values.h"

namespace refhost {

using ftv::Mat4;
using ftv::Vec3;

Scene::Scene(Accounts& accounts) : Counted(accounts, "HostScene") {
    camera_object_ = std::make_unique<CameraObject>(accounts, *this);
}

Scene::~Scene() = default;

Mat4 rotation_between(const Vec3& from, const Vec3& to) {
    const double from_length = imath(from).length(), to_length = imath(to).length();
    if (!(from_length > 0.0) || !(to_length > 0.0) || !std::isfinite(from_length) || !std::isfinite(to_length))
        return ftv::kIdentityMatrix;
    const V3d f = imath(from) / from_length, t = imath(to) / to_length;
    V3d axis = f % t;
    const double c = f ^ t;
    // |from x to| of unit directions is the sine of the angle between them.
    double s = axis.length();
    if (s < 1e-12) {
        if (c > 0.0) return ftv::kIdentityMatrix;
        // Opposite: a half turn about the axis perpendicular to from that is
        // closest to the coordinate axis along which from is smallest.
        const int k = std::fabs(f.x) <= std::fabs(f.y) && std::fabs(f.x) <= std::fabs(f.z) ? 0
                      : std::fabs(f.y) <= std::fabs(f.z)                                  ? 1
                                                                                          : 2;
        V3d e(0, 0, 0);
        e[k] = 1.0;
        axis = f % e;
        s = 0.0;
    }
    const V3d a = axis / axis.length();
    const double cc = s == 0.0 ? -1.0 : c, k1 = 1.0 - cc;
    return mat4(M44d(a.x * a.x * k1 + cc, a.x * a.y * k1 + a.z * s, a.x * a.z * k1 - a.y * s, 0,
                     a.x * a.y * k1 - a.z * s, a.y * a.y * k1 + cc, a.y * a.z * k1 + a.x * s, 0,
                     a.x * a.z * k1 + a.y * s, a.y * a.z * k1 - a.x * s, a.z * a.z * k1 + cc, 0,  //
                     0, 0, 0, 1));
}

const Node* Scene::node_from(ftv::HostHandle handle, HandleForm form, const char* operation) {
    const auto tag = static_cast<ftv::HostHandle>(form);
    const Node* node = (handle & ~kIdMask) == tag ? tree_.node_by_id(handle & kIdMask) : nullptr;
    if (node == nullptr) {
        std::ostringstream what;
        what << operation << " with 0x" << std::hex << handle << ", not a handle of the form it takes";
        report_misuse(what.str());
    }
    return node;
}

// ---- Pooled views

ShapeView* Scene::shape_view(const Node* node, const Node* end_of) {
    ShapeView* view = shape_views_.take(accounts(), *this);
    view->point_at(node, end_of);
    return view;
}

ftv::HostShape* Scene::scene_owned_view(const Node& node) {
    ShapeView* view = scene_owned_views_.emplace_back(std::make_unique<ShapeView>(accounts(), *this)).get();
    view->point_at(&node, nullptr);
    return view;
}

PartObject& Scene::part_object(const Node& part) {
    if (part_objects_.size() < part.id) part_objects_.resize(part.id);
    std::unique_ptr<PartObject>& object = part_objects_[part.id - 1];
    if (!object) object = std::make_unique<PartObject>(accounts(), *this, part);
    return *object;
}

StreamView* Scene::stream_view(std::shared_ptr<StreamData> data) {
    StreamView* view = stream_views_.take(accounts(), *this);
    view->point_at(std::move(data));
    return view;
}

CenterObject* Scene::center_view(const Node* node) {
    CenterObject* view = center_objects_.take(accounts(), *this);
    view->point_at(node);
    return view;
}

void Scene::recycle(ShapeView* view) { shape_views_.give_back(view); }
void Scene::recycle(StreamView* view) { stream_views_.give_back(view); }
void Scene::recycle(DialogObject* dialog) { dialog_objects_.give_back(dialog); }
void Scene::recycle(CenterObject* center) { center_objects_.give_back(center); }

// ---- HostScene operations

ftv::HostShape* Scene::root_part(void*) {
    operation();
    return shape_view(&tree_.root())->hand_out();
}

ftv::HostDialog* Scene::new_dialog(std::int32_t, void*) {
    operation();
    DialogObject* dialog = dialog_objects_.take(accounts(), *this);
    dialog->start(dialog_script_.start_dialog());
    return dialog->hand_out();
}

ftv::HostCamera* Scene::camera(void*) {
    operation();
    return camera_object_->hand_out();
}

FTV_AGGREGATE(Mat4) Scene::rotation_between(FTV_RESULT_POINTER(Mat4) const Vec3& from, const Vec3& to, void*) {
    operation();
    FTV_RETURN(refhost::rotation_between(from, to));
}

std::int32_t Scene::selection_count(void*) {
    operation();
    return static_cast<std::int32_t>(tree_.selection().size());
}

ftv::HostShape* Scene::selected_shape(std::int32_t index, void*) {
    operation();
    if (index < 0 || static_cast<std::size_t>(index) >= tree_.selection().size()) {
        report_misuse("HostScene::selected_shape " + std::to_string(index) + " beyond the selection");
        return nullptr;
    }
    return shape_view(tree_.selection()[static_cast<std::size_t>(index)])->hand_out();
}

void Scene::set_current_part(ftv::HostHandle part_handle, void*) {
    operation();
    const Node* part = node_from(part_handle, HandleForm::part, "HostScene::set_current_part");
    if (part != nullptr) tree_.make_current(*part);
}

ftv::HostShape* Scene::begin_part(const char* name, void*) {
    operation();
    const Node& part = tree_.add_part(tree_.current_part(), name);
    open_parts_.push_back(&tree_.current_part());
    tree_.make_current(part);
    return scene_owned_view(part);
}

void Scene::end_part(void*) {
    operation();
    if (open_parts_.empty()) {
        report_misuse("HostScene::end_part without begin_part");
        return;
    }
    tree_.make_current(*open_parts_.back());
    open_parts_.pop_back();
}

void Scene::end_creation(void*) { operation(); }

FTV_AGGREGATE(Mat4) Scene::input_to_world(FTV_RESULT_POINTER(Mat4) void*) {
    operation();
    FTV_RETURN(tree_.input_matrix());
}

ftv::HostShape* Scene::create_shape_at(const char* name, const Vec3* position, std::uint32_t first,
                                       std::uint32_t second, void*) {
    operation();
    const Node& marker = tree_.add_marker(tree_.current_part(), *position, name);
    tree_.set_input_values(marker, first, second);
    return scene_owned_view(marker);
}

ftv::HostHandle Scene::shape_from_handle(ftv::HostHandle shape_handle, void*) {
    operation();
    const Node* node = node_from(shape_handle, HandleForm::shape, "HostScene::shape_from_handle");
    return node ? handle_of(*node, HandleForm::move) : 0;
}

void Scene::activate_shape(ftv::HostHandle shape_handle, void*) {
    operation();
    if (const Node* node = node_from(shape_handle, HandleForm::shape, "HostScene::activate_shape")) active_shape_ = node;
}

}  // namespace refhost
