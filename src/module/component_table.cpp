#include "module/component_table.h"

#include "host/host_app.h"
#include "host/interface_ids.h"
#include "module/attribute_component.h"
#include "module/creator_component.h"
#include "module/main_component.h"

namespace ftv {

namespace {

// Menu names, code page 932.
constexpr char kSettingsMenuEnglish[] = "Z_FaceToViewer Configuration...";
constexpr char kSettingsMenuJapanese[] = "Z_FaceToViewer \x90\xdd\x92\xe8...";  // "Z_FaceToViewer 設定..."
constexpr char kAttributeMenuEnglish[] = "Z_FaceToViewer Attribute...";
constexpr char kAttributeMenuJapanese[] = "Z_FaceToViewer\x91\xae\x90\xab...";  // "Z_FaceToViewer属性..."
constexpr char kCreatorMenu[] = "Z_FaceToViewer";

// The resident component answers only at index 0; the others at any index.
bool exists(ComponentKind kind, std::int32_t index) {
    return kind == ComponentKind::plugin ? index == 0 : kind != ComponentKind::none;
}

// A host that does not say otherwise gets the English names.
bool japanese(HostApp* host) { return host != nullptr && host->ui_is_japanese(); }

}  // namespace

ComponentKind component_kind(const GUID* id) {
    if (same_interface(id, kPluginInterfaceId)) return ComponentKind::plugin;
    if (same_interface(id, kAttributeInterfaceId)) return ComponentKind::attribute;
    if (same_interface(id, kCreatorInterfaceId)) return ComponentKind::creator;
    return ComponentKind::none;
}

const char* component_menu_name(ComponentKind kind, std::int32_t index, HostApp* host) {
    if (!exists(kind, index)) return nullptr;
    switch (kind) {
        case ComponentKind::plugin:
            return japanese(host) ? kSettingsMenuJapanese : kSettingsMenuEnglish;
        case ComponentKind::attribute:
            return japanese(host) ? kAttributeMenuJapanese : kAttributeMenuEnglish;
        case ComponentKind::creator:
            return kCreatorMenu;
        case ComponentKind::none:
            break;
    }
    return nullptr;
}

PluginId component_id(ComponentKind kind, std::int32_t index) {
    if (!exists(kind, index)) return 0;
    switch (kind) {
        case ComponentKind::plugin: return kMainId;
        case ComponentKind::attribute: return kAttributeId;
        case ComponentKind::creator: return kCreatorId;
        case ComponentKind::none: break;
    }
    return 0;
}

bool component_is_resident(ComponentKind kind, std::int32_t index) {
    return kind == ComponentKind::plugin && index == 0;
}

plugin_interface* new_component(ComponentKind kind, std::int32_t index) {
    if (!exists(kind, index)) return nullptr;
    switch (kind) {
        case ComponentKind::plugin: return new main_component;
        case ComponentKind::attribute: return new attribute_component;
        case ComponentKind::creator: return new creator_component;
        case ComponentKind::none: break;
    }
    return nullptr;
}

}  // namespace ftv
