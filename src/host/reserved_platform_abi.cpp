// Reserved operations for a host built with the platform's C++ compiler on
// 32-bit Windows: the integer 0 is raised through the system runtime
// (msvcrt.dll's _CxxThrowException), described by the platform's own records
// for a thrown int, so that the host's `catch (int)` takes it.
#include <windows.h>

#include <cstdint>

#include "host/reserved_operation.h"

namespace ftv {

namespace {

// The platform's records for a thrown object, x86 layout (plain pointers).
struct TypeDescriptor {
    const void* type_info_vftable;
    void* spare;
    char name[3];
};

struct ThisDisplacement {
    std::int32_t member, vbtable, in_vbtable;
};

struct CatchableType {
    std::uint32_t properties;
    const TypeDescriptor* type;
    ThisDisplacement displacement;
    std::int32_t size;
    const void* copy_function;
};

struct CatchableTypeArray {
    std::int32_t count;
    const CatchableType* types[1];
};

struct ThrowInfo {
    std::uint32_t attributes;
    const void* unwind;
    const void* forward_compat;
    const CatchableTypeArray* catchable;
};

static_assert(sizeof(TypeDescriptor) == 12 && sizeof(CatchableType) == 28 && sizeof(ThrowInfo) == 16,
              "the platform's x86 layouts");

// ".H" is the platform's decorated name of int. The vftable of type_info is
// the runtime's; it is filled in before the first raise.
TypeDescriptor int_type = {nullptr, nullptr, ".H"};
constexpr std::uint32_t kSimpleType = 1;  // copied bit for bit; no copy function
const CatchableType int_catchable = {kSimpleType, &int_type, {0, -1, 0}, sizeof(std::int32_t), nullptr};
const CatchableTypeArray int_catchables = {1, {&int_catchable}};
const ThrowInfo int_throw_info = {0, nullptr, nullptr, &int_catchables};

using ThrowFunction = void(WINAPI*)(void* object, const ThrowInfo* info);

}  // namespace

void raise_reserved_operation() {
    // The module links msvcrt.dll, so it is loaded.
    static const HMODULE runtime = GetModuleHandleA("msvcrt.dll");
    static const auto raise = reinterpret_cast<ThrowFunction>(
        reinterpret_cast<void*>(GetProcAddress(runtime, "_CxxThrowException")));
    if (int_type.type_info_vftable == nullptr) {
        int_type.type_info_vftable = reinterpret_cast<const void*>(GetProcAddress(runtime, "??_7type_info@@6B@"));
    }
    std::int32_t value = 0;
    if (raise != nullptr) raise(&value, &int_throw_info);
    // A runtime without it cannot carry the host's exceptions either; raise
    // the g++ way rather than return.
    throw value;
}

}  // namespace ftv
