// The operating-system services the plug-in uses, behind one small interface:
// libraries loaded by name, functions looked up by name, icons from the
// module's resources.
#pragma once

namespace ftv::platform {

using Library = void*;
using Icon = void*;
using ModuleInstance = void*;

// Loads a library by file name through the system's normal search.
// Null when it cannot be loaded.
Library load_library(const char* file_name);
void unload_library(Library library);
// Null when the library has no such function.
void* find_function(Library library, const char* name);
// For hosts: why the last load_library failed, as the system says it.
const char* load_error();
// For hosts: the library of that file name if this process has it loaded,
// found without loading it or taking a reference (valid while whoever
// loaded it keeps it); null otherwise.
Library loaded_library(const char* file_name);

// Loads the icon resource with that identifier from the module, at size by
// size pixels. A fresh handle on every call; the caller does not destroy it.
// Null when there is no such icon.
Icon load_icon(ModuleInstance module, int resource_id, int size);

// The platform's file name of a library named base ("X" -> "X.dll" / "X.so").
#ifdef _WIN32
#define FTV_LIBRARY_FILE(base) base ".dll"
#else
#define FTV_LIBRARY_FILE(base) base ".so"
#endif

}  // namespace ftv::platform
