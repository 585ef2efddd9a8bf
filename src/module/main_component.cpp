#include "module/main_component.h"

#include "behaviour/on_off_switch.h"
#include "behaviour/update_pass.h"
#include "module/module_state.h"

namespace ftv {

void main_component::initialization(bool&, HostScene* scene, void*) { initialize_switch(*scene, module_state()); }

void main_component::menu_command(std::int32_t, HostScene* scene, void*) {
    run_settings_dialog(*scene, module_state());
}

void main_component::update_notification(bool&, HostScene* scene, void*) {
    ModuleState& state = module_state();
    update_pass(*scene, state.enabled, state.eye_position);
}

}  // namespace ftv
