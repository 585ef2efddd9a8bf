// main_component: the resident component. Runs the update pass on every
// notification and owns the on/off switch with its settings dialog.
#pragma once

#include "host/plugin_interface.h"

namespace ftv {

class main_component final : public plugin_interface {
public:
    void* destroy(std::uint32_t flags) override { return destroy_component(this, flags); }
    PluginId identifier(void* = nullptr) override { return kMainId; }

    // The result flags are left as the host passed them.
    void initialization(bool& result, HostScene* scene, void* = nullptr) override;
    void menu_command(std::int32_t, HostScene* scene, void* = nullptr) override;
    void update_notification(bool& result, HostScene* scene, void* = nullptr) override;
};

}  // namespace ftv
