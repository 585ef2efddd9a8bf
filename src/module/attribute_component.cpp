#include "module/attribute_component.h"

#include "behaviour/attribute_dialog.h"
#include "host/entry_frame.h"

namespace ftv {

// The command runs inside an EntryFrame, so that a host exception passing
// through releases what it holds.
bool attribute_component::attribute_command(HostShape* shape, void*) {
    const EntryFrame frame;
    return run_attribute_dialog(*shape);
}

}  // namespace ftv
