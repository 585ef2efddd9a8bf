#include "module/switch_pane.h"

#include "behaviour/on_off_switch.h"
#include "host/entry_frame.h"
#include "host/host_app.h"
#include "host/host_ref.h"
#include "host/host_scene.h"
#include "module/module_state.h"

namespace ftv {

namespace {

// Every message the pane forwards asks the host for its active scene; a left
// button press toggles the switch there.
std::intptr_t FTV_STDCALL click_handler(void*, std::uint32_t message, std::uintptr_t, std::intptr_t) {
    enter_from_host([message] {
        PluginState& state = plugin_state();
        if (state.host == nullptr) return;
        const auto scene = adopt(state.host->active_scene());
        // Without an active scene there is nowhere to store the switch: the click does nothing.
        if (message == kLeftButtonDown && scene) {
            toggle_switch(*scene.get(), state.enabled);
            show_switch();
        }
    });
    return 0;
}

}  // namespace

void register_click_handler_once() {
    PluginState& state = plugin_state();
    if (state.pane_handler_registered) return;
    register_pane_handler(module_pane(), &click_handler);
    state.pane_handler_registered = true;
}

void show_switch() { show_on_pane(module_pane(), plugin_state().enabled != 0); }

}  // namespace ftv
