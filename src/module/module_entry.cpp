// The operating system's load and unload notifications: the module records its
// instance and loads the companion pane library, which is optional: when it is
// missing every pane call does nothing.
#include "module/module_state.h"

namespace ftv {
namespace {

void attach(platform::ModuleInstance instance) {
    module_pane() = StatusPane{platform::load_library(kPaneLibraryFile), instance};
}

void detach() {
    platform::unload_library(module_pane().library);
    module_pane() = StatusPane{};
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
