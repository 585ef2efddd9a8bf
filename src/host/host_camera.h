// HostCamera: the scene's camera.
#pragma once

#include "host/host_object.h"

namespace ftv {

class HostCamera : public IUnknown {
public:
    // The eye position in world coordinates (the argument is 0).
    virtual FTV_AGGREGATE(Vec3) eye_position(FTV_RESULT_POINTER(Vec3) std::int32_t, void* = nullptr) = 0;

protected:
    ~HostCamera() = default;
};

inline Vec3 eye_position(HostCamera& camera) {
    return aggregate_result<Vec3>(camera, &HostCamera::eye_position, std::int32_t{0});
}

}  // namespace ftv
