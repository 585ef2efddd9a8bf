// The plug-in as the host reaches it: the module's ten exports, components
// called by slot, and the stand-in pane library the module loaded.
#pragma once

#include "host_objects.h"

struct PluginInfo {
    i32 numbers[6];
    const char* texts[4];
};

struct Exports {
    i32 (*has_interface)(const Guid* id, HostApp* host);
    const char* (*get_name)(const Guid* id, i32 index, HostApp* host, void*);
    u32 (*get_id)(const Guid* id, i32 index, void*);
    bool(__stdcall* is_resident)(const Guid* id, i32 index, void*);
    i32 (*get_interface_version)(void*);
    PluginInfo*(__stdcall* get_info)(PluginInfo* info, HostApp* host, void*);
    i32(__stdcall* get_text_encoding)(HostApp* host, void*);
    i32(__stdcall* get_exception)(HostApp* host, void*);
    bool(__stdcall* has_separate_interfaces)(void*);
    void (*create_interface)(const Guid* id, i32 index, void** out, HostApp* host, void*);
};

using ftv::kAttributeInterface;
using ftv::kCreatorInterface;
using ftv::kPluginInterface;

// Loads the module named on the command line and finds its exports; false
// (with a message) when anything is missing.
bool load_plugin(Exports& exports);

// Slot numbers: IUnknown's three, destroy and a query, then the operations of
// plugin_interface from 1, then those of attribute_interface or
// creator_interface from 1.
constexpr int plugin_slot(int op) { return 4 + op; }
constexpr int own_slot(int op) { return 204 + op; }

// Calls the component's operation in that slot, as the host's compiler calls
// a member: __thiscall, the reserved pointer last.
template <class R, class... A>
R call_slot(void* component, int slot, A... args) {
    using Operation = R(__thiscall*)(void*, A..., void*);
    Operation operation = (*static_cast<Operation**>(component))[slot];
    return operation(component, args..., nullptr);
}

// IUnknown's operations, __stdcall with the object first.
u32 add_ref(void* component);
u32 release(void* component);
i32 query_interface(void* component, const Guid& id, void** out);

// The stand-in pane library (refhost/pane_standin.h).
struct PaneRecord {
    u32 id;
    i32(__stdcall* handler)(void* window, u32 message, u32, i32);
    u32 registrations, texts_set, icons_set;
    char text[128];
    void* icon;
};
constexpr u32 kLeftButtonDown = 0x0201, kRightButtonDown = 0x0204;
// The pane the plug-in keeps for its id; false when it never called.
bool pane_record(PaneRecord& record);
