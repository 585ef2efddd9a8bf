// The switch as the user sees it: the module's working copy shown on the
// status pane, whose click flips it in the host's active scene.
#pragma once

namespace ftv {

// Hands the pane's mouse messages to the module's click handler: tried once
// per module load, whether or not the library is there.
void register_click_handler_once();

// Shows the working copy of the switch on the pane.
void show_switch();

}  // namespace ftv
