// HostShape: a shape of the scene tree, or the end sentinel of a child list.
// A part is a shape whose kind is kPart; it holds a list of children.
#pragma once

#include "host/host_object.h"

namespace ftv {

class HostShape : public IUnknown {
public:
    static constexpr std::int32_t kPart = 2;

    // Tree walk. first_child of a part with no children is the end sentinel.
    // next_sibling may hand back the object it was called on, moved along the
    // list; it then carries no extra reference. Otherwise both hand out a
    // reference that the caller releases.
    virtual HostShape* first_child(void* = nullptr) = 0;
    virtual HostShape* next_sibling(void* = nullptr) = 0;
    virtual bool is_end(void* = nullptr) = 0;
    virtual std::int32_t kind(void* = nullptr) = 0;
    // The name, owned by the host, valid while the shape is held.
    virtual const char* shape_name(void* = nullptr) = 0;
    // The part that holds this shape. Released by the caller.
    virtual HostShape* parent(void* = nullptr) = 0;
    // The scene that holds this shape. Released by the caller.
    virtual HostScene* scene(void* = nullptr) = 0;

    // Plug-in streams, one per plug-in id. find_stream gives the stream or null;
    // make_stream replaces any earlier one with a new, empty stream positioned
    // at its start (the two integers are 0). Both released by the caller.
    virtual HostStream* find_stream(PluginId id, void* = nullptr) = 0;
    virtual HostStream* make_stream(PluginId id, std::int32_t, std::int32_t, void* = nullptr) = 0;

    // Carries points given in this shape's coordinates into world coordinates;
    // and world coordinates into this part's own.
    virtual FTV_AGGREGATE(Mat4) local_to_world(FTV_RESULT_POINTER(Mat4) void* = nullptr) = 0;
    virtual FTV_AGGREGATE(Mat4) world_to_local(FTV_RESULT_POINTER(Mat4) void* = nullptr) = 0;
    // Replaces the shape's transformation.
    virtual void set_transformation(const Mat4& matrix, void* = nullptr) = 0;
    // The shape's centre. Released by the caller.
    virtual HostCenterObject* center_object(void* = nullptr) = 0;
    // The part's own side. Owned by the scene: never released.
    virtual HostPartObject* part_object(void* = nullptr) = 0;

    // Handles for the creation operations of HostScene.
    virtual HostHandle part_handle(void* = nullptr) = 0;
    virtual HostHandle handle(void* = nullptr) = 0;
    // Moves this shape out of its part to directly after the shape named by
    // target (a value from HostScene::shape_from_handle), in that shape's part.
    virtual void move_after(HostHandle target, void* = nullptr) = 0;

protected:
    ~HostShape() = default;
};

inline Mat4 local_to_world(HostShape& shape) { return aggregate_result<Mat4>(shape, &HostShape::local_to_world); }
inline Mat4 world_to_local(HostShape& shape) { return aggregate_result<Mat4>(shape, &HostShape::world_to_local); }

}  // namespace ftv
