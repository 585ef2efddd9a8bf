// The module-wide state: one copy per loaded module, no locks (the host calls
// everything on its user-interface thread).
#pragma once

#include <cstdint>

#include "geometry/primitives.h"
#include "platform/platform.h"

namespace ftv {

class HostApp;

struct ModuleState {
    // Set on process attach; the pane icons are loaded from it.
    platform::ModuleInstance instance = nullptr;
    // The companion pane library, or null when it could not be loaded.
    platform::Library pane_library = nullptr;
    // The host given to the latest create_interface. Not counted: never released.
    HostApp* host = nullptr;
    // The on/off switch: 0 off, anything else on. Loaded from and stored to the scene.
    std::int32_t enabled = 0;
    // Cleared by the first initialisation, which registers the pane's click handler.
    bool first_initialization = true;
    // The camera's eye position, taken at the start of each update pass.
    Vec3 eye_position = {0.0f, 0.0f, 0.0f};
};

ModuleState& module_state();

}  // namespace ftv
