#include "module/component_table.h"

#include "host/host_app.h"
#include "host/interface_ids.h"
#include "module/attribute_component.h"
#include "module/creator_component.h"
#include "module/main_component.h"

namespace ftv {

namespace {

template <class Component>
plugin_interface* make() {
    return new Component;
}

struct Component {
    ComponentKind kind;
    const GUID& interface_id;
    PluginId id;
    // Menu names, code page 932: for a host that does not show its interface
    // in Japanese (or does not say), and for one that does; null when the name
    // is the same in every language.
    const char* english_menu;
    const char* japanese_menu;
    // The resident component answers only at index 0; the others at any index.
    bool resident;
    plugin_interface* (*create)();
};

const Component kComponents[] = {
    {ComponentKind::plugin, kPluginInterfaceId, kMainId, "Z_FaceToViewer Configuration...",
     "Z_FaceToViewer \x90\xdd\x92\xe8...",  // "Z_FaceToViewer 設定..."
     true, &make<main_component>},
    {ComponentKind::attribute, kAttributeInterfaceId, kAttributeId, "Z_FaceToViewer Attribute...",
     "Z_FaceToViewer\x91\xae\x90\xab...",  // "Z_FaceToViewer属性..."
     false, &make<attribute_component>},
    {ComponentKind::creator, kCreatorInterfaceId, kCreatorId, "Z_FaceToViewer", nullptr, false,
     &make<creator_component>},
};

// The component of that kind at that index, or null when the module has none.
const Component* find(ComponentKind kind, std::int32_t index) {
    for (const Component& component : kComponents) {
        if (component.kind == kind) return !component.resident || index == 0 ? &component : nullptr;
    }
    return nullptr;
}

}  // namespace

ComponentKind component_kind(const GUID* id) {
    for (const Component& component : kComponents) {
        if (same_interface(id, component.interface_id)) return component.kind;
    }
    return ComponentKind::none;
}

const char* component_menu_name(ComponentKind kind, std::int32_t index, HostApp* host) {
    const Component* component = find(kind, index);
    if (component == nullptr) return nullptr;
    // Only a name that differs by language asks the host for its language.
    if (component->japanese_menu == nullptr) return component->english_menu;
    return host != nullptr && host->ui_is_japanese() ? component->japanese_menu : component->english_menu;
}

PluginId component_id(ComponentKind kind, std::int32_t index) {
    const Component* component = find(kind, index);
    return component != nullptr ? component->id : 0;
}

bool component_is_resident(ComponentKind kind, std::int32_t index) {
    const Component* component = find(kind, index);
    return component != nullptr && component->resident;
}

plugin_interface* new_component(ComponentKind kind, std::int32_t index) {
    const Component* component = find(kind, index);
    return component != nullptr ? component->create() : nullptr;
}

}  // namespace ftv
