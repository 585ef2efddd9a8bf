// The operating system's load and unload notifications: the module records its
// instance and loads the companion pane library, which is optional: when it is
// missing every pane call does nothing.
#include "module/module_state.h"
#include "pane/pane_library.h"

namespace ftv {
namespace {

void attach(platform::ModuleInstance instance) {
    ModuleState& state = module_state();
    state.instance = instance;
    state.pane_library = platform::load_library(kPaneLibraryFile);
}

void detach() {
    ModuleState& state = module_state();
    platform::unload_library(state.pane_library);
    state.pane_library = nullptr;
}

}  // namespace
}  // namespace ftv

#ifdef _WIN32
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        ftv::attach(instance);
    } else if (reason == DLL_PROCESS_DETACH) {
        ftv::detach();
    }
    return TRUE;
}

#else
#include <dlfcn.h>

namespace {

__attribute__((constructor)) void on_load() {
    Dl_info info{};
    dladdr(reinterpret_cast<void*>(&on_load), &info);
    ftv::attach(info.dli_fbase);
}

__attribute__((destructor)) void on_unload() { ftv::detach(); }

}  // namespace
#endif
