// HostCenterObject: the geometric centre of a shape.
#pragma once

#include "host/host_object.h"

namespace ftv {

class HostCenterObject : public IUnknown {
public:
    // The centre point in the coordinates of the part that holds the shape.
    virtual Vec3 center(void* = nullptr) = 0;

protected:
    ~HostCenterObject() = default;
};

}  // namespace ftv
