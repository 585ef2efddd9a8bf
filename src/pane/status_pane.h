// The plug-in's pane in the host's status bar, drawn by the companion library:
// it shows whether the switch is on and flips it when clicked. When the
// library, or one of its functions, is missing, that step does nothing.
#pragma once

#include <cstdint>

#include "pane/pane_library.h"

namespace ftv {

struct ModuleState;

// Routes the pane's mouse messages to pane_click_handler.
void register_pane(const ModuleState& state);

// Shows the switch of state with its text and icon. The functions are looked
// up anew on every call and a fresh icon handle is loaded each time.
void show_state(const ModuleState& state);

// A left button press on the pane toggles the switch of the host's active scene.
std::intptr_t FTV_WINAPI pane_click_handler(void* window, std::uint32_t message, std::uintptr_t wparam,
                                            std::intptr_t lparam);

}  // namespace ftv
