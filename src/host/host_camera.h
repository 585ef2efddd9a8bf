// HostCamera: the scene's camera.
#pragma once

#include "host/host_object.h"

namespace ftv {

class HostCamera : public IUnknown {
public:
    // The eye position in world coordinates (the argument is 0).
    virtual Vec3 eye_position(std::int32_t, void* = nullptr) = 0;

protected:
    ~HostCamera() = default;
};

}  // namespace ftv
