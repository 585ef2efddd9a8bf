#include "module/attribute_component.h"

#include "behaviour/attribute_dialog.h"

namespace ftv {

bool attribute_component::attribute_command(HostShape* shape, void*) { return run_attribute_dialog(*shape); }

}  // namespace ftv
