// The ten functions through which the host discovers and creates the
// components. Only these leave the module (exports.def on Windows, exports.map
// elsewhere).
#include <cstdint>

#include "host/module_exports.h"
#include "host/plugin_interface.h"
#include "module/component_table.h"
#include "module/module_state.h"
#include "resources/module_resources.h"

#ifdef _WIN32
#define FTV_EXPORT extern "C"
#else
#define FTV_EXPORT extern "C" __attribute__((visibility("default")))
#endif

using namespace ftv;

namespace {

constexpr std::int32_t kInterfaceVersion = 25;
constexpr std::int32_t kCodePage932 = 932;
constexpr std::int32_t kExceptionModel = 2;

constexpr PluginInfo kInfo = {
    kSdkVersion,
    36090,
    resources::kVersionMajor,
    resources::kVersionMinor,
    resources::kVersionPatch,
    resources::kVersionBuild,
    "Z_FaceToViewer",
    "ZEMBRAK",
    "ZEMBRAK",
    // "特定の形状を常にカメラに向けるプラグイン": a plug-in that always turns
    // specific shapes toward the camera.
    "\x93\xc1\x92\xe8\x82\xcc\x8c\x60\x8f\xf3\x82\xf0\x8f\xed\x82\xc9\x83\x4a\x83\x81\x83\x89\x82\xc9"
    "\x8c\xfc\x82\xaf\x82\xe9\x83\x76\x83\x89\x83\x4f\x83\x43\x83\x93",
};

}  // namespace

FTV_EXPORT std::int32_t has_interface(const GUID* id, HostApp*) {
    return component_kind(id) == ComponentKind::none ? 0 : 1;
}

FTV_EXPORT const char* get_name(const GUID* id, std::int32_t index, HostApp* host, void*) {
    return component_menu_name(component_kind(id), index, host);
}

FTV_EXPORT std::uint32_t get_id(const GUID* id, std::int32_t index, void*) {
    return component_id(component_kind(id), index);
}

FTV_EXPORT bool FTV_STDCALL is_resident(const GUID* id, std::int32_t index, void*) {
    return component_is_resident(component_kind(id), index);
}

FTV_EXPORT std::int32_t get_interface_version(void*) { return kInterfaceVersion; }

FTV_EXPORT PluginInfo* FTV_STDCALL get_info(PluginInfo* info, HostApp*, void*) {
    if (info != nullptr) {
        *info = kInfo;
    }
    return info;
}

FTV_EXPORT std::int32_t FTV_STDCALL get_text_encoding(HostApp*, void*) { return kCodePage932; }

FTV_EXPORT std::int32_t FTV_STDCALL get_exception(HostApp*, void*) { return kExceptionModel; }

FTV_EXPORT bool FTV_STDCALL has_separate_interfaces(void*) { return false; }

FTV_EXPORT void create_interface(const GUID* id, std::int32_t index, plugin_interface** out, HostApp* host,
                                 void*) {
    plugin_state().host = host;
    if (plugin_interface* component = new_component(component_kind(id), index)) {
        component->AddRef();
        *out = component;
    }
}
