#include "pane_access.h"

#include "module_loader.h"

namespace refhost {

PaneAccess pane_access(void* library) {
    PaneAccess access;
    if (library != nullptr) {
        access.get = reinterpret_cast<PaneGetFunction>(library_symbol(library, kPaneGet));
        access.send = reinterpret_cast<PaneSendFunction>(library_symbol(library, kPaneSend));
        access.reset = reinterpret_cast<PaneResetFunction>(library_symbol(library, kPaneReset));
    }
    return access;
}

PaneAccess pane_access() { return pane_access(loaded_library(library_file("Z_PnlHub"))); }

PaneRecord PaneAccess::record(std::uint32_t id) const {
    PaneRecord record{};
    if (get != nullptr) get(id, &record);
    return record;
}

}  // namespace refhost
