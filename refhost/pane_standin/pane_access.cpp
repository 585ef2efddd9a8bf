#include "pane_standin/pane_access.h"

#include "platform/platform.h"

namespace refhost {

PaneAccess pane_access(void* library) {
    PaneAccess access;
    if (library != nullptr) {
        access.get = reinterpret_cast<PaneGetFunction>(ftv::platform::find_function(library, kPaneGet));
        access.send = reinterpret_cast<PaneSendFunction>(ftv::platform::find_function(library, kPaneSend));
        access.reset = reinterpret_cast<PaneResetFunction>(ftv::platform::find_function(library, kPaneReset));
    }
    return access;
}

PaneAccess pane_access() { return pane_access(ftv::platform::loaded_library(ftv::kPaneLibraryFile)); }

PaneRecord PaneAccess::record(std::uint32_t id) const {
    PaneRecord record{};
    if (get != nullptr) get(id, &record);
    return record;
}

}  // namespace refhost
