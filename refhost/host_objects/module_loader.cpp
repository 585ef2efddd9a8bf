#include "host_objects/module_loader.h"

#include "platform/platform.h"

namespace refhost {

template <class Function>
void LoadedModule::resolve(Function& function, const char* name) {
    void* address = ftv::platform::find_function(handle_, name);
    if (address == nullptr) {
        ftv::platform::unload_library(handle_);
        throw LoadError(path_ + ": no exported function " + name);
    }
    function = reinterpret_cast<Function>(address);
}

LoadedModule::LoadedModule(const std::string& path) : path_(path) {
    handle_ = ftv::platform::load_library(path.c_str());
    if (handle_ == nullptr) throw LoadError(path + ": cannot load: " + ftv::platform::load_error());
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

LoadedModule::~LoadedModule() { ftv::platform::unload_library(handle_); }

}  // namespace refhost
