// The ten functions a plug-in module exports, as the host sees them: their
// signatures, calling conventions and exported symbol names, and the
// information record that get_info fills.
#pragma once

#include <cstddef>
#include <cstdint>

#include "host/boundary_abi.h"
#include "host/com.h"

namespace ftv {

class HostApp;
class plugin_interface;

// On 32-bit Windows five of the functions are FTV_STDCALL and exported under
// their decorated names; the others are plain C functions.

struct PluginInfo {
    std::int32_t sdk_version;
    std::int32_t second_version;
    std::int32_t major_version;
    std::int32_t minor_version;
    std::int32_t micro_version;
    std::int32_t build_number;
    const char* name;
    const char* maker;
    const char* second_maker;
    const char* description;
};

static_assert(offsetof(PluginInfo, build_number) == 20 && offsetof(PluginInfo, name) == 24 &&
                  sizeof(PluginInfo) == 24 + 4 * sizeof(const char*),
              "six 32-bit integers, then four text pointers, without padding");

namespace exports {

using HasInterface = std::int32_t (*)(const GUID* id, HostApp* host);
using GetName = const char* (*)(const GUID* id, std::int32_t index, HostApp* host, void* reserved);
using GetId = std::uint32_t (*)(const GUID* id, std::int32_t index, void* reserved);
using IsResident = bool(FTV_STDCALL*)(const GUID* id, std::int32_t index, void* reserved);
using GetInterfaceVersion = std::int32_t (*)(void* reserved);
using GetInfo = PluginInfo*(FTV_STDCALL*)(PluginInfo* info, HostApp* host, void* reserved);
using GetTextEncoding = std::int32_t(FTV_STDCALL*)(HostApp* host, void* reserved);
using GetException = std::int32_t(FTV_STDCALL*)(HostApp* host, void* reserved);
using HasSeparateInterfaces = bool(FTV_STDCALL*)(void* reserved);
using CreateInterface = void (*)(const GUID* id, std::int32_t index, plugin_interface** out, HostApp* host,
                                 void* reserved);

// The exported symbol names.
#if defined(_WIN32) && defined(__i386__)
#define FTV_DECORATED(name, bytes) "_" name "@" #bytes
#else
#define FTV_DECORATED(name, bytes) name
#endif
constexpr const char* kHasInterface = "has_interface";
constexpr const char* kGetName = "get_name";
constexpr const char* kGetId = "get_id";
constexpr const char* kIsResident = FTV_DECORATED("is_resident", 12);
constexpr const char* kGetInterfaceVersion = "get_interface_version";
constexpr const char* kGetInfo = FTV_DECORATED("get_info", 12);
constexpr const char* kGetTextEncoding = FTV_DECORATED("get_text_encoding", 8);
constexpr const char* kGetException = FTV_DECORATED("get_exception", 8);
constexpr const char* kHasSeparateInterfaces = FTV_DECORATED("has_separate_interfaces", 4);
constexpr const char* kCreateInterface = "create_interface";
#undef FTV_DECORATED

}  // namespace exports
}  // namespace ftv
