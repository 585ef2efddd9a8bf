#include "module/main_component.h"

#include "behaviour/on_off_switch.h"
#include "behaviour/update_pass.h"
#include "host/entry_frame.h"
#include "module/module_state.h"

namespace ftv {

// Each entry opens an EntryFrame before it reaches a host object.

void main_component::initialization(bool&, HostScene* scene, void*) {
    const EntryFrame frame;
    initialize_switch(*scene, module_state());
}

void main_component::menu_command(std::int32_t, HostScene* scene, void*) {
    const EntryFrame frame;
    run_settings_dialog(*scene, module_state());
}

void main_component::update_notification(bool&, HostScene* scene, void*) {
    const EntryFrame frame;
    ModuleState& state = module_state();
    update_pass(*scene, state.enabled, state.eye_position);
}

}  // namespace ftv
