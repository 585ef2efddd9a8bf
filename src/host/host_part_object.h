// HostPartObject: the part-specific side of a part. Owned by the scene: the
// plug-in never releases it.
#pragma once

#include "host/host_object.h"

namespace ftv {

class HostPartObject : public IUnknown {
public:
    // Sets the part's own matrix; the plug-in reads nothing back.
    virtual void set_matrix(const Mat4& matrix, void* = nullptr) = 0;

protected:
    ~HostPartObject() = default;
};

}  // namespace ftv
