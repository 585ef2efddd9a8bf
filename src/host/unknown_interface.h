// unknown_interface: the root of every component the module hands to the host.
//
// Slots, in order: the three IUnknown operations, then destroy and
// is_unknown_interface. Every component shares these unchanged.
//
// Lifetime: a component is born with count 0; create_interface adds the first
// reference and the host owns it. Release that brings the count to exactly 0
// destroys the object. The count is a plain integer: every call comes from the
// host's user-interface thread.
//
// There is no C++ virtual destructor: it would take two slots of its own.
// destroy is the destructor the host sees.
#pragma once

#include <cstdint>
#include <new>

#include "host/com.h"

namespace ftv {

class unknown_interface : public IUnknown {
public:
    // Op 1: no other interface is offered; the out pointer stays as it was.
    HResult FTV_STDCALL QueryInterface(const GUID&, void**) override { return kNoInterface; }

    // Op 2.
    RefCount FTV_STDCALL AddRef() override { return static_cast<RefCount>(++ref_count_); }

    // Op 3. A release on a count of 0 leaves -1 and destroys nothing.
    RefCount FTV_STDCALL Release() override {
        if (--ref_count_ == 0) {
            destroy(kFreeMemory);
            return 0;
        }
        return static_cast<RefCount>(ref_count_);
    }

    // Op 4: runs the destructor and, when flags has kFreeMemory, frees the memory.
    virtual void* destroy(std::uint32_t flags) = 0;

    // Op 5.
    virtual bool is_unknown_interface() { return true; }

    std::int32_t ref_count() const { return ref_count_; }

    static constexpr std::uint32_t kFreeMemory = 1;

protected:
    unknown_interface() = default;
    ~unknown_interface() = default;
    unknown_interface(const unknown_interface&) = delete;
    unknown_interface& operator=(const unknown_interface&) = delete;

    // The one implementation of destroy for a concrete component class.
    template <class Component>
    static void* destroy_component(Component* self, std::uint32_t flags) {
        self->~Component();
        if (flags & kFreeMemory) {
            ::operator delete(static_cast<void*>(self));
        }
        return self;
    }

private:
    std::int32_t ref_count_ = 0;
};

}  // namespace ftv
