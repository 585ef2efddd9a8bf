// HostCenterObject: the geometric centre of a shape.
#pragma once

#include "host/host_object.h"

namespace ftv {

class HostCenterObject : public IUnknown {
public:
    // The centre point in the coordinates of the part that holds the shape
    // (see aggregate_result.h).
#if FTV_EXPLICIT_AGGREGATE_RESULTS
    virtual Vec3* center(Vec3* result, void* = nullptr) = 0;
#else
    virtual Vec3 center(void* = nullptr) = 0;
#endif

protected:
    ~HostCenterObject() = default;
};

#if FTV_EXPLICIT_AGGREGATE_RESULTS
inline Vec3 center(HostCenterObject& object) {
    Vec3 result;
    return *object.center(&result);
}
#else
inline Vec3 center(HostCenterObject& object) { return object.center(); }
#endif

}  // namespace ftv
