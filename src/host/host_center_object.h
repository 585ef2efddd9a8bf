// HostCenterObject: the geometric centre of a shape.
#pragma once

#include "host/host_object.h"

namespace ftv {

class HostCenterObject : public IUnknown {
public:
    // The centre point in the coordinates of the part that holds the shape.
    virtual FTV_AGGREGATE(Vec3) center(FTV_RESULT_POINTER(Vec3) void* = nullptr) = 0;

protected:
    ~HostCenterObject() = default;
};

inline Vec3 center(HostCenterObject& object) { return aggregate_result<Vec3>(object, &HostCenterObject::center); }

}  // namespace ftv
