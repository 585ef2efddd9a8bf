#include "module/main_component.h"

#include "behaviour/on_off_switch.h"
#include "behaviour/update_pass.h"
#include "host/entry_frame.h"
#include "module/module_state.h"
#include "module/switch_pane.h"

namespace ftv {

void main_component::initialization(bool&, HostScene* scene, void*) {
    enter_from_host([scene] {
        register_click_handler_once();
        plugin_state().enabled = load_switch(*scene);
        show_switch();
    });
}

void main_component::menu_command(std::int32_t, HostScene* scene, void*) {
    enter_from_host([scene] {
        if (run_settings_dialog(*scene, plugin_state().enabled)) show_switch();
    });
}

void main_component::update_notification(bool&, HostScene* scene, void*) {
    enter_from_host([scene] {
        if (plugin_state().enabled != 0) update_pass(*scene);
    });
}

}  // namespace ftv
