// HostStream: a plug-in's data stream attached to a shape, read and written as
// 32-bit integers.
#pragma once

#include "host/host_object.h"

namespace ftv {

class HostStream : public IUnknown {
public:
    // Positions the next read or write at the start (the argument is 0).
    virtual void rewind(std::int32_t, void* = nullptr) = 0;
    virtual void read_int(std::int32_t* value, void* = nullptr) = 0;
    virtual void write_int(const std::int32_t* value, void* = nullptr) = 0;

protected:
    ~HostStream() = default;
};

}  // namespace ftv
