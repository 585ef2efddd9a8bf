// HostScene: one open scene.
#pragma once

#include "host/host_object.h"

namespace ftv {

class HostScene : public IUnknown {
public:
    // The root of the scene tree. Released by the caller.
    virtual HostShape* root_part(void* = nullptr) = 0;
    // A new, empty modal dialog (the argument is 0). Released by the caller.
    virtual HostDialog* new_dialog(std::int32_t, void* = nullptr) = 0;
    // The scene's camera. Released by the caller.
    virtual HostCamera* camera(void* = nullptr) = 0;
    // A rotation, in the row-vector convention, that turns direction from onto
    // direction to.
    virtual FTV_AGGREGATE(Mat4) rotation_between(FTV_RESULT_POINTER(Mat4) const Vec3& from, const Vec3& to,
                                                 void* = nullptr) = 0;

    // Selection.
    virtual std::int32_t selection_count(void* = nullptr) = 0;
    // The selected shape at index (from 0). Released by the caller.
    virtual HostShape* selected_shape(std::int32_t index, void* = nullptr) = 0;

    // Creation. Shapes created next go into the part named by part_handle.
    virtual void set_current_part(HostHandle part_handle, void* = nullptr) = 0;
    // A new, empty part in the current part. Owned by the scene: never released.
    virtual HostShape* begin_part(const char* name, void* = nullptr) = 0;
    virtual void end_part(void* = nullptr) = 0;
    virtual void end_creation(void* = nullptr) = 0;
    // Carries an input position into world coordinates.
    virtual FTV_AGGREGATE(Mat4) input_to_world(FTV_RESULT_POINTER(Mat4) void* = nullptr) = 0;
    // A new shape at position (coordinates of the current part), made in the
    // current part; the two values are passed on as the input gave them.
    // Owned by the scene: never released.
    virtual HostShape* create_shape_at(const char* name, const Vec3* position, std::uint32_t first,
                                       std::uint32_t second, void* = nullptr) = 0;
    // The form of a shape that HostShape::move_after takes.
    virtual HostHandle shape_from_handle(HostHandle shape_handle, void* = nullptr) = 0;
    virtual void activate_shape(HostHandle shape_handle, void* = nullptr) = 0;

protected:
    ~HostScene() = default;
};

inline Mat4 rotation_between(HostScene& scene, const Vec3& from, const Vec3& to) {
    return aggregate_result<Mat4>(scene, &HostScene::rotation_between, from, to);
}
inline Mat4 input_to_world(HostScene& scene) { return aggregate_result<Mat4>(scene, &HostScene::input_to_world); }

}  // namespace ftv
