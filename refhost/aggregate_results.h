// The reference host implements the host operations that hand back a Vec3 or
// Mat4 in the form the plug-in's build declares them (host/aggregate_result.h):
// by value, or, in the Windows build, through the caller's result pointer.
//   REFHOST_AGGREGATE(T)      the declared result type;
//   REFHOST_RESULT_PARAM(T)   the leading result parameter, if any;
//   REFHOST_RETURN(value)     hands the value back in that form.
#pragma once

#include "host/aggregate_result.h"

#if FTV_EXPLICIT_AGGREGATE_RESULTS
#define REFHOST_AGGREGATE(T) T*
#define REFHOST_RESULT_PARAM(T) T *result,
#define REFHOST_RETURN(...) return &(*result = (__VA_ARGS__))
#else
#define REFHOST_AGGREGATE(T) T
#define REFHOST_RESULT_PARAM(T)
#define REFHOST_RETURN(...) return (__VA_ARGS__)
#endif
