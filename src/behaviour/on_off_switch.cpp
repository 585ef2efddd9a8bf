#include "behaviour/on_off_switch.h"

#include "behaviour/plugin_stream.h"
#include "behaviour/texts.h"
#include "host/host_dialog.h"
#include "host/host_ref.h"
#include "host/host_scene.h"

namespace ftv {

namespace {

// Reads the switch from the root part's stream (off without one). The stream
// is handed back so that the caller releases it where the order requires.
HostRef<HostStream> read_switch(HostShape& root, std::int32_t& enabled) {
    auto stream = find_plugin_stream(root);
    enabled = stream ? read_first_int(*stream.get()) : 0;
    return stream;
}

}  // namespace

std::int32_t load_switch(HostScene& scene) {
    const auto root = adopt(scene.root_part());
    std::int32_t enabled = 0;
    const auto stream = read_switch(*root.get(), enabled);
    return enabled;
}

bool run_settings_dialog(HostScene& scene, std::int32_t& enabled) {
    const auto root = adopt(scene.root_part());
    const auto stream = read_switch(*root.get(), enabled);

    const auto dialog = adopt(scene.new_dialog(0));
    dialog->set_title(kSettingsTitle);
    dialog->add_checkbox(HostDialog::kCheckbox, kEnabledLabel, 0);
    dialog->set_checked(0, enabled != 0);
    if (!dialog->run_modal(0)) return false;

    bool checked = false;
    dialog->is_checked(0, &checked);
    enabled = checked ? 1 : 0;
    write_new_stream(*root.get(), enabled);
    return true;
}

void toggle_switch(HostScene& scene, std::int32_t& enabled) {
    enabled = enabled == 0 ? 1 : 0;
    const auto root = adopt(scene.root_part());
    write_new_stream(*root.get(), enabled);
}

}  // namespace ftv
