// The identifiers by which the host names the three kinds of component.
#pragma once

#include <cstring>

#include "host/com.h"

namespace ftv {

constexpr GUID kPluginInterfaceId = {0x50E47D69, 0x8922, 0x11D1, {0x9A, 0x00, 0x00, 0xC0, 0x4F, 0xCC, 0x9C, 0x26}};
constexpr GUID kAttributeInterfaceId = {0x50E47D67, 0x8922, 0x11D1, {0x9A, 0x00, 0x00, 0xC0, 0x4F, 0xCC, 0x9C, 0x26}};
constexpr GUID kCreatorInterfaceId = {0x50E47D60, 0x8922, 0x11D1, {0x9A, 0x00, 0x00, 0xC0, 0x4F, 0xCC, 0x9C, 0x26}};

// All 16 bytes count; a null identifier matches nothing.
inline bool same_interface(const GUID* a, const GUID& b) {
    return a != nullptr && std::memcmp(a, &b, sizeof(GUID)) == 0;
}

}  // namespace ftv
