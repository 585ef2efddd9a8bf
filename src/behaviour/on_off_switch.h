// The on/off switch of the whole update pass. Its value lives in the scene, as
// the root part's plug-in stream (without one, off); the caller keeps the
// working copy and shows it.
#pragma once

#include <cstdint>

namespace ftv {

class HostScene;

// The switch as the scene stores it: 0 off, anything else on.
std::int32_t load_switch(HostScene& scene);

// The settings dialog behind the resident component's menu entry: loads the
// switch into enabled and shows it as a check box; when the user confirms,
// stores 1 or 0 in the scene and in enabled. Answers whether the user
// confirmed. Cancelling stores nothing: enabled keeps the loaded value.
bool run_settings_dialog(HostScene& scene, std::int32_t& enabled);

// Flips enabled (without reading the scene first) and stores it in the scene.
void toggle_switch(HostScene& scene, std::int32_t& enabled);

}  // namespace ftv
