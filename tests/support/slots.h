// Calling component operations by slot number, as a host does: the object's
// first word points at its table of operations. Slots 0 to 2 are IUnknown's
// (__stdcall on 32-bit Windows); the others are member functions (__thiscall).
#pragma once

#include <cstddef>
#include <cstdint>

#include "host/boundary_abi.h"

namespace testing_support {

// Slot positions: IUnknown 0..2, unknown_interface 3..4, then plugin_interface
// operations from 1, then the attribute's or the creator's own from 1.
constexpr std::size_t kUnknownSlots = 5;
constexpr std::size_t kPluginSlots = 200;
constexpr std::size_t plugin_slot(std::size_t operation) { return kUnknownSlots + operation - 1; }
constexpr std::size_t own_slot(std::size_t operation) { return kUnknownSlots + kPluginSlots + operation - 1; }

inline void* slot_address(void* object, std::size_t slot) { return (*static_cast<void***>(object))[slot]; }

// Calls a member-function slot: the object is passed as `this`.
template <class Result, class... Args>
Result call_slot(void* object, std::size_t slot, Args... args) {
    using Function = Result(FTV_THISCALL*)(void*, Args...);
    return reinterpret_cast<Function>(slot_address(object, slot))(object, args...);
}

// Calls one of the three IUnknown slots.
template <class Result, class... Args>
Result call_com_slot(void* object, std::size_t slot, Args... args) {
    using Function = Result(FTV_STDCALL*)(void*, Args...);
    return reinterpret_cast<Function>(slot_address(object, slot))(object, args...);
}

constexpr std::size_t kQueryInterface = 0;
constexpr std::size_t kAddRef = 1;
constexpr std::size_t kRelease = 2;
constexpr std::size_t kDestroy = 3;
constexpr std::size_t kIsUnknownInterface = 4;

}  // namespace testing_support
