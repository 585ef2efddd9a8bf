#include "plugin.h"

#include "world.h"

namespace {

void* pane_library = nullptr;

// The command line's first argument: the module's path.
const char* module_path() {
    const char* line = GetCommandLineA();
    if (*line == '"') {
        for (++line; *line != '\0' && *line != '"'; ++line) {
        }
        if (*line == '"') ++line;
    } else {
        while (*line != '\0' && *line != ' ') ++line;
    }
    while (*line == ' ') ++line;
    return line;
}

template <class F>
bool find(void* module, const char* name, F& function) {
    function = reinterpret_cast<F>(GetProcAddress(module, name));
    if (function == nullptr) printf("the module does not export %s\n", name);
    return function != nullptr;
}

}  // namespace

bool load_plugin(Exports& e) {
    const char* path = module_path();
    void* module = LoadLibraryA(path);
    if (module == nullptr) {
        printf("cannot load the module '%s'\n", path);
        return false;
    }
    // The module loaded the pane library by name; this finds the same one.
    pane_library = LoadLibraryA("Z_PnlHub.dll");
    return find(module, "has_interface", e.has_interface) && find(module, "get_name", e.get_name) &&
           find(module, "get_id", e.get_id) && find(module, "_is_resident@12", e.is_resident) &&
           find(module, "get_interface_version", e.get_interface_version) &&
           find(module, "_get_info@12", e.get_info) && find(module, "_get_text_encoding@8", e.get_text_encoding) &&
           find(module, "_get_exception@8", e.get_exception) &&
           find(module, "_has_separate_interfaces@4", e.has_separate_interfaces) &&
           find(module, "create_interface", e.create_interface);
}

namespace {
template <class R, class... A>
R call_unknown(void* component, int slot, A... args) {
    using Operation = R(__stdcall*)(void*, A...);
    return (*static_cast<Operation**>(component))[slot](component, args...);
}
}  // namespace

i32 query_interface(void* component, const Guid& id, void** out) {
    return call_unknown<i32>(component, 0, &id, out);
}
u32 add_ref(void* component) { return call_unknown<u32>(component, 1); }
u32 release(void* component) { return call_unknown<u32>(component, 2); }

bool pane_record(PaneRecord& record) {
    using Get = bool (*)(u32 id, PaneRecord* record);
    Get get = pane_library ? reinterpret_cast<Get>(GetProcAddress(pane_library, "ZPH_Test_Get")) : nullptr;
    return get != nullptr && get(kMainId, &record);
}
