// How a host operation hands back a Vec3 or Mat4.
//
// The host is built with the platform's C++ compiler. On 32-bit Windows its ABI
// returns such a value from a member function through a hidden pointer: the
// caller passes the result's address as the first argument after `this`, the
// callee fills it, pops it with the other arguments and returns it. i686
// MinGW g++ returns it otherwise from a thiscall virtual, and reads garbage
// from a host that follows the platform. So the Windows build declares these
// operations with that pointer made explicit, which both compilers call alike
// (the cure COM interfaces use for struct results). Elsewhere the operations
// return by value, as the platform's compiler does there.
//
// Callers use the free functions beside each interface (local_to_world(shape)
// and so on), which read the same on both builds.
#pragma once

#ifdef _WIN32
#define FTV_EXPLICIT_AGGREGATE_RESULTS 1
#else
#define FTV_EXPLICIT_AGGREGATE_RESULTS 0
#endif
