// The on/off switch of the whole update pass. Its value lives in the scene,
// as the root part's plug-in stream; the module keeps the working copy.
#pragma once

namespace ftv {

class HostScene;
struct ModuleState;

// The resident component's initialisation: registers the pane's click handler
// once per module load, loads the switch from the scene and shows it.
void initialize_switch(HostScene& scene, ModuleState& state);

// The settings dialog behind the resident component's menu entry: loads the
// switch, shows it as a check box, and on confirmation stores and shows the
// new value. Cancelling stores nothing (the loaded value stays the working copy).
void run_settings_dialog(HostScene& scene, ModuleState& state);

// Flips the working copy, stores it in the scene and shows it.
void toggle_switch(HostScene& scene, ModuleState& state);

}  // namespace ftv
