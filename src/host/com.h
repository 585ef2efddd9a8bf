// The system's reference-counted object interface, the root of every component
// and every host object.
//
// On Windows this is the system's own IUnknown (three FTV_STDCALL operations).
// Elsewhere an equivalent with the same three operations in the same order, so
// that the slot numbering of everything built on it is the same on both.
#pragma once

#include <cstdint>

#include "host/boundary_abi.h"

#ifdef _WIN32
#include <unknwn.h>

namespace ftv {
using ::GUID;
using ::IUnknown;
using HResult = HRESULT;
using RefCount = ULONG;  // 32 bits on Windows
}  // namespace ftv

#else

namespace ftv {

// A 16-byte interface identifier in the usual layout (little-endian fields).
struct GUID {
    std::uint32_t Data1;
    std::uint16_t Data2;
    std::uint16_t Data3;
    std::uint8_t Data4[8];
};

using HResult = std::int32_t;
using RefCount = std::uint32_t;

class IUnknown {
public:
    virtual HResult QueryInterface(const GUID& id, void** object) = 0;
    virtual RefCount AddRef() = 0;
    virtual RefCount Release() = 0;

protected:
    ~IUnknown() = default;
};

}  // namespace ftv

#endif

namespace ftv {

static_assert(sizeof(GUID) == 16, "interface identifiers are 16 bytes");
static_assert(sizeof(RefCount) == 4 && sizeof(HResult) == 4, "32-bit counts and results");

constexpr HResult kNoInterface = static_cast<HResult>(0x80004002u);  // E_NOINTERFACE

}  // namespace ftv
