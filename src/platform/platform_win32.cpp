#include <windows.h>

#include <cstdio>

#include "platform/platform.h"

namespace ftv::platform {

Library load_library(const char* file_name) { return LoadLibraryA(file_name); }

void unload_library(Library library) {
    if (library != nullptr) {
        FreeLibrary(static_cast<HMODULE>(library));
    }
}

void* find_function(Library library, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
}

const char* load_error() {
    static char text[32];
    std::snprintf(text, sizeof text, "error %lu", static_cast<unsigned long>(GetLastError()));
    return text;
}

Library loaded_library(const char* file_name) { return GetModuleHandleA(file_name); }

Icon load_icon(ModuleInstance module, int resource_id, int size) {
    return LoadImageA(static_cast<HINSTANCE>(module), MAKEINTRESOURCEA(resource_id), IMAGE_ICON, size, size,
                      LR_LOADMAP3DCOLORS);
}

}  // namespace ftv::platform
