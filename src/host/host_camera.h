// HostCamera: the scene's camera.
#pragma once

#include "host/host_object.h"

namespace ftv {

class HostCamera : public IUnknown {
public:
    // The eye position in world coordinates (the argument is 0; see
    // aggregate_result.h).
#if FTV_EXPLICIT_AGGREGATE_RESULTS
    virtual Vec3* eye_position(Vec3* result, std::int32_t, void* = nullptr) = 0;
#else
    virtual Vec3 eye_position(std::int32_t, void* = nullptr) = 0;
#endif

protected:
    ~HostCamera() = default;
};

#if FTV_EXPLICIT_AGGREGATE_RESULTS
inline Vec3 eye_position(HostCamera& camera) {
    Vec3 result;
    return *camera.eye_position(&result, 0);
}
#else
inline Vec3 eye_position(HostCamera& camera) { return camera.eye_position(0); }
#endif

}  // namespace ftv
