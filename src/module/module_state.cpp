#include "module/module_state.h"

namespace ftv {

namespace {
StatusPane pane;
PluginState plugin;
}  // namespace

StatusPane& module_pane() { return pane; }

PluginState& plugin_state() { return plugin; }

}  // namespace ftv
