// The facts of the platform's C++ ABI that the plug-in's boundary follows:
// calling conventions, results handed back by value, and the layouts of the
// values that cross.
//
// The host is built with the platform's own C++ compiler; on 32-bit Windows
// the DLL is built with MinGW g++, whose ABI differs from it in these places,
// so each is made explicit here. Elsewhere the compiler's usual ABI is the
// host's, and every macro below reads as nothing special.
#pragma once

#include <cstddef>
#include <type_traits>

#include "geometry/primitives.h"

// Calling conventions on 32-bit Windows. __stdcall: IUnknown's three
// operations, five of the ten exports, the pane library's functions and the
// click handler it calls. __thiscall: every other member function the host
// calls; g++ uses it for members by itself, but a call through a raw slot
// must name it.
#if defined(_WIN32) && defined(__i386__)
#define FTV_STDCALL __attribute__((stdcall))
#define FTV_THISCALL __attribute__((thiscall))
#else
#define FTV_STDCALL
#define FTV_THISCALL
#endif

// Results by value. A host operation that hands back a Vec3 or Mat4 returns
// it, under the platform's ABI on 32-bit Windows, through a hidden pointer:
// the caller passes the result's address as the first argument after `this`,
// the callee fills it, pops it with the other arguments and returns it. i686
// MinGW g++ returns it otherwise from a thiscall virtual, and reads garbage
// from a host that follows the platform. So the Windows build declares these
// operations with that pointer made explicit, which both compilers call alike
// (the cure COM interfaces use for struct results). Elsewhere the operations
// return by value, as the platform's compiler does there.
//
// Declaring and implementing one, the same on both builds:
//   virtual FTV_AGGREGATE(Mat4) input_to_world(FTV_RESULT_POINTER(Mat4) void* = nullptr) = 0;
//   FTV_AGGREGATE(Mat4) Scene::input_to_world(FTV_RESULT_POINTER(Mat4) void*) { FTV_RETURN(matrix); }
// Calling one: aggregate_result<Mat4>(scene, &HostScene::input_to_world).
#ifdef _WIN32
#define FTV_EXPLICIT_AGGREGATE_RESULTS 1
#define FTV_AGGREGATE(T) T*
#define FTV_RESULT_POINTER(T) T *result,
#define FTV_RETURN(...) return &(*result = (__VA_ARGS__))
#else
#define FTV_EXPLICIT_AGGREGATE_RESULTS 0
#define FTV_AGGREGATE(T) T
#define FTV_RESULT_POINTER(T)
#define FTV_RETURN(...) return (__VA_ARGS__)
#endif

namespace ftv {

// The result of object.operation(arguments..., null reserved pointer).
template <class T, class Object, class Operation, class... Arguments>
T aggregate_result(Object& object, Operation operation, Arguments... arguments) {
#if FTV_EXPLICIT_AGGREGATE_RESULTS
    T result;
    return *(object.*operation)(&result, arguments..., nullptr);
#else
    return (object.*operation)(arguments..., nullptr);
#endif
}

// The values that cross: 32-bit floats without padding, Mat4 row by row.
static_assert(sizeof(Vec3) == 12 && offsetof(Vec3, y) == 4 && offsetof(Vec3, z) == 8 && alignof(Vec3) == 4,
              "Vec3: three 32-bit floats x, y, z");
static_assert(sizeof(Mat4) == 64 && alignof(Mat4) == 4, "Mat4: sixteen 32-bit floats, row by row");
static_assert(std::is_standard_layout_v<Vec3> && std::is_trivially_copyable_v<Vec3> &&
                  std::is_standard_layout_v<Mat4> && std::is_trivially_copyable_v<Mat4>,
              "plain values, copied bit for bit");

}  // namespace ftv
