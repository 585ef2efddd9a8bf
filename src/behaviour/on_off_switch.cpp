#include "behaviour/on_off_switch.h"

#include "behaviour/plugin_stream.h"
#include "behaviour/texts.h"
#include "host/host_dialog.h"
#include "host/host_ref.h"
#include "host/host_scene.h"
#include "module/module_state.h"
#include "pane/status_pane.h"

namespace ftv {

namespace {

// Loads the switch from the root part's stream (off without one). The stream
// is handed back so that the caller releases it where the order requires.
HostRef<HostStream> load_switch(HostShape& root, ModuleState& state) {
    auto stream = find_plugin_stream(root);
    state.enabled = stream ? read_first_int(*stream.get()) : 0;
    return stream;
}

}  // namespace

void initialize_switch(HostScene& scene, ModuleState& state) {
    if (state.first_initialization) {
        register_pane(state);
        state.first_initialization = false;
    }
    const auto root = adopt(scene.root_part());
    const auto stream = load_switch(*root.get(), state);
    show_state(state);
}

void run_settings_dialog(HostScene& scene, ModuleState& state) {
    const auto root = adopt(scene.root_part());
    const auto stream = load_switch(*root.get(), state);

    const auto dialog = adopt(scene.new_dialog(0));
    dialog->set_title(kSettingsTitle);
    dialog->add_checkbox(HostDialog::kCheckbox, kEnabledLabel, 0);
    dialog->set_checked(0, state.enabled != 0);
    if (!dialog->run_modal(0)) return;

    bool checked = false;
    dialog->is_checked(0, &checked);
    state.enabled = checked ? 1 : 0;
    write_new_stream(*root.get(), state.enabled);
    show_state(state);
}

void toggle_switch(HostScene& scene, ModuleState& state) {
    state.enabled = state.enabled == 0 ? 1 : 0;
    const auto root = adopt(scene.root_part());
    write_new_stream(*root.get(), state.enabled);
    show_state(state);
}

}  // namespace ftv
