#include "module_loader.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace refhost {

namespace {

void* open_library(const std::string& path, std::string& error) {
#ifdef _WIN32
    HMODULE module = LoadLibraryA(path.c_str());
    if (module == nullptr) error = "error " + std::to_string(GetLastError());
    return reinterpret_cast<void*>(module);
#else
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) error = dlerror();
    return handle;
#endif
}

void close_library(void* handle) {
#ifdef _WIN32
    FreeLibrary(static_cast<HMODULE>(handle));
#else
    dlclose(handle);
#endif
}

}  // namespace

void* library_symbol(void* library, const char* name) {
#ifdef _WIN32
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
#else
    return dlsym(library, name);
#endif
}

template <class Function>
void LoadedModule::resolve(Function& function, const char* name) {
    void* address = library_symbol(handle_, name);
    if (address == nullptr) {
        close_library(handle_);
        throw LoadError(path_ + ": no exported function " + name);
    }
    function = reinterpret_cast<Function>(address);
}

LoadedModule::LoadedModule(const std::string& path) : path_(path) {
    std::string error;
    handle_ = open_library(path, error);
    if (handle_ == nullptr) throw LoadError(path + ": cannot load: " + error);
    namespace names = ftv::exports;
    resolve(has_interface, names::kHasInterface);
    resolve(get_name, names::kGetName);
    resolve(get_id, names::kGetId);
    resolve(is_resident, names::kIsResident);
    resolve(get_interface_version, names::kGetInterfaceVersion);
    resolve(get_info, names::kGetInfo);
    resolve(get_text_encoding, names::kGetTextEncoding);
    resolve(get_exception, names::kGetException);
    resolve(has_separate_interfaces, names::kHasSeparateInterfaces);
    resolve(create_interface, names::kCreateInterface);
}

LoadedModule::~LoadedModule() { close_library(handle_); }

std::string library_file(const std::string& base) {
#ifdef _WIN32
    return base + ".dll";
#else
    return base + ".so";
#endif
}

void* loaded_library(const std::string& file_name) {
#ifdef _WIN32
    return reinterpret_cast<void*>(GetModuleHandleA(file_name.c_str()));
#else
    // Looked up among the loaded libraries only; the reference is given back at once.
    void* handle = dlopen(file_name.c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (handle != nullptr) dlclose(handle);
    return handle;
#endif
}

}  // namespace refhost
