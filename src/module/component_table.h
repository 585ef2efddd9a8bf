// The components this module offers: which interface kinds, under which menu
// names and identifiers, and which one is resident.
#pragma once

#include <cstdint>

#include "host/com.h"
#include "host/plugin_id.h"

namespace ftv {

class HostApp;
class plugin_interface;

enum class ComponentKind { none, plugin, attribute, creator };

// The kind an interface identifier names; none for a null or unknown one.
ComponentKind component_kind(const GUID* id);

// The menu name (code page 932, static), or null when the module has no such
// component. Consults the host's language only for the names that depend on it.
const char* component_menu_name(ComponentKind kind, std::int32_t index, HostApp* host);

// The component's identifier, or 0 when the module has no such component.
PluginId component_id(ComponentKind kind, std::int32_t index);

bool component_is_resident(ComponentKind kind, std::int32_t index);

// A new component with count 0, or null when the module has no such component.
// Allocation failure raises std::bad_alloc.
plugin_interface* new_component(ComponentKind kind, std::int32_t index);

}  // namespace ftv
