// The host's side of the stand-in pane library: what the pane shows, and
// mouse messages delivered to the plug-in's click handler.
#pragma once

#include <cstdint>

#include "pane_standin/pane_standin.h"

namespace refhost {

struct PaneAccess {
    PaneGetFunction get = nullptr;
    PaneSendFunction send = nullptr;
    PaneResetFunction reset = nullptr;

    bool present() const { return get != nullptr; }
    // The record for a plug-in's pane; a zeroed record when there is none.
    PaneRecord record(std::uint32_t id) const;
};

// The stand-in as the module loaded it (found among the loaded libraries by
// its file name), or all null when none is loaded.
PaneAccess pane_access();
// The stand-in in a library the caller loaded itself.
PaneAccess pane_access(void* library);

}  // namespace refhost
