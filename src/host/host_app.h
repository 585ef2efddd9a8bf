// HostApp: the host application, given to the module's discovery functions.
#pragma once

#include "host/host_object.h"

namespace ftv {

class HostApp : public IUnknown {
public:
    // True when the host shows its user interface in Japanese.
    virtual bool ui_is_japanese(void* = nullptr) = 0;
    // The scene the user works on, or null. Released by the caller.
    virtual HostScene* active_scene(void* = nullptr) = 0;

protected:
    ~HostApp() = default;
};

}  // namespace ftv
