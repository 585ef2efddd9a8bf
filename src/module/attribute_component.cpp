#include "module/attribute_component.h"

#include "behaviour/attribute_dialog.h"
#include "host/entry_frame.h"

namespace ftv {

bool attribute_component::attribute_command(HostShape* shape, void*) {
    return enter_from_host([shape] { return run_attribute_dialog(*shape); });
}

}  // namespace ftv
