// The plug-in's integer stream on a shape: the switch on the root part, the
// tag on every other part. Both are the first 32-bit integer of the shape's
// stream for the resident component's identifier.
#pragma once

#include <cstdint>

#include "host/host_ref.h"
#include "host/host_shape.h"
#include "host/host_stream.h"

namespace ftv {

// The shape's stream, or an empty holder when it has none.
inline HostRef<HostStream> find_plugin_stream(HostShape& shape) { return adopt(shape.find_stream(kMainId)); }

// The first integer of the stream.
inline std::int32_t read_first_int(HostStream& stream) {
    stream.rewind(0);
    std::int32_t value = 0;
    stream.read_int(&value);
    return value;
}

// Writes value at the start of the stream.
inline void write_first_int(HostStream& stream, std::int32_t value) {
    stream.rewind(0);
    stream.write_int(&value);
}

// A new stream replacing any earlier one, holding value.
inline void write_new_stream(HostShape& shape, std::int32_t value) {
    const auto stream = adopt(shape.make_stream(kMainId, 0, 0));
    write_first_int(*stream.get(), value);
}

}  // namespace ftv
