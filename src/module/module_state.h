// The module-wide state: one copy per loaded module, no locks (the host calls
// everything on its user-interface thread).
#pragma once

#include <cstdint>

#include "pane/status_pane.h"

namespace ftv {

class HostApp;

// What the operating system's load notification gives: the companion library
// and this module's instance, whose icons the pane shows. Emptied on unload.
StatusPane& module_pane();

// The plug-in's own state, driven by the host's calls.
struct PluginState {
    // The host given to the latest create_interface. Not counted: never released.
    HostApp* host = nullptr;
    // The working copy of the on/off switch: 0 off, anything else on.
    std::int32_t enabled = 0;
    // Set once the pane's click handler is registered (or registering it was tried).
    bool pane_handler_registered = false;
};

PluginState& plugin_state();

}  // namespace ftv
