// Loads a plug-in module by path as a host does (through the platform layer)
// and resolves its ten exported functions by their platform names.
#pragma once

#include <stdexcept>
#include <string>

#include "host/module_exports.h"

namespace refhost {

class LoadError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class LoadedModule {
public:
    // Throws LoadError when the module or one of its exports is missing.
    explicit LoadedModule(const std::string& path);
    ~LoadedModule();
    LoadedModule(const LoadedModule&) = delete;
    LoadedModule& operator=(const LoadedModule&) = delete;

    ftv::exports::HasInterface has_interface = nullptr;
    ftv::exports::GetName get_name = nullptr;
    ftv::exports::GetId get_id = nullptr;
    ftv::exports::IsResident is_resident = nullptr;
    ftv::exports::GetInterfaceVersion get_interface_version = nullptr;
    ftv::exports::GetInfo get_info = nullptr;
    ftv::exports::GetTextEncoding get_text_encoding = nullptr;
    ftv::exports::GetException get_exception = nullptr;
    ftv::exports::HasSeparateInterfaces has_separate_interfaces = nullptr;
    ftv::exports::CreateInterface create_interface = nullptr;

    const std::string& path() const { return path_; }

private:
    template <class Function>
    void resolve(Function& function, const char* name);

    std::string path_;
    void* handle_ = nullptr;
};

}  // namespace refhost
