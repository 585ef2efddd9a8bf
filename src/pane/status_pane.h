// The plug-in's pane in the host's status bar, drawn by the companion library:
// it shows whether the switch is on and hands the pane's mouse messages to a
// handler. When the library, or one of its functions, is missing, that step
// does nothing.
#pragma once

#include "pane/pane_library.h"
#include "platform/platform.h"

namespace ftv {

// Where the pane's calls go: the companion library (null when it could not be
// loaded) and the module whose icon resources the pane shows.
struct StatusPane {
    platform::Library library = nullptr;
    platform::ModuleInstance icons = nullptr;
};

// Routes the pane's mouse messages to handler.
void register_pane_handler(const StatusPane& pane, PaneHandler handler);

// Shows on or off with its text and icon. The functions are looked up anew on
// every call and a fresh icon handle is loaded each time.
void show_on_pane(const StatusPane& pane, bool on);

}  // namespace ftv
