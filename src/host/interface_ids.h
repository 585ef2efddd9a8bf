// The identifiers by which the host names the three kinds of component.
#pragma once

#include <cstring>

#include "host/com.h"
#include "host/contract.h"

namespace ftv {

// The contract's identifiers in the SDK's own type.
constexpr GUID guid(const InterfaceId& id) {
    return {id.data1, id.data2, id.data3,
            {id.data4[0], id.data4[1], id.data4[2], id.data4[3], id.data4[4], id.data4[5], id.data4[6], id.data4[7]}};
}
constexpr GUID kPluginInterfaceId = guid(kPluginInterface);
constexpr GUID kAttributeInterfaceId = guid(kAttributeInterface);
constexpr GUID kCreatorInterfaceId = guid(kCreatorInterface);

// All 16 bytes count; a null identifier matches nothing.
inline bool same_interface(const GUID* a, const GUID& b) {
    return a != nullptr && std::memcmp(a, &b, sizeof(GUID)) == 0;
}

}  // namespace ftv
