#include <dlfcn.h>

#include "platform/embedded_icons.h"
#include "platform/platform.h"

namespace ftv::platform {

Library load_library(const char* file_name) { return dlopen(file_name, RTLD_NOW | RTLD_LOCAL); }

void unload_library(Library library) {
    if (library != nullptr) {
        dlclose(library);
    }
}

void* find_function(Library library, const char* name) { return dlsym(library, name); }

const char* load_error() {
    const char* error = dlerror();
    return error != nullptr ? error : "unknown error";
}

Library loaded_library(const char* file_name) {
    // RTLD_NOLOAD finds it without loading it; the reference it takes goes back at once.
    Library library = dlopen(file_name, RTLD_NOW | RTLD_NOLOAD);
    if (library != nullptr) dlclose(library);
    return library;
}

// The icons are compiled into the module; a handle is the address of the
// embedded image, which lives as long as the module.
Icon load_icon(ModuleInstance, int resource_id, int) {
    return const_cast<EmbeddedIcon*>(find_embedded_icon(resource_id));
}

}  // namespace ftv::platform
