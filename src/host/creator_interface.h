// creator_interface: components that create shapes from the user's input.
//
// Slots: those of plugin_interface, then 200 operations of its own, numbered
// here from 1; 13 to 200 are reserved and raise the integer 0. The generic
// operations G1 to G9 of plugin_interface are routed to operations of its own.
// Each operation takes a trailing reserved pointer.
//
// Never add, remove or reorder a virtual function here, and never overload a
// name: the slots would move.
#pragma once

#include <cstdint>

#include "host/plugin_interface.h"

namespace ftv {

class creator_interface : public plugin_interface {
public:
    // The generic operations of plugin_interface, routed to our own.
    bool generic_1(void* = nullptr) override { return creator_op_2(); }
    bool generic_2(void* = nullptr) override { return true; }
    bool generic_3(void* = nullptr) override { return creator_op_4(); }
    bool generic_4(void* = nullptr) override { return creator_op_5(); }
    bool generic_5(std::uint32_t a, std::uint32_t b, void* = nullptr) override { return creator_op_6(a, b); }
    bool input(const Vec3& position, std::uint32_t first, std::uint32_t second, void* = nullptr) override {
        return creator_op_7(&position, first, second);
    }
    bool generic_7(std::uint32_t a, std::uint32_t b, std::uint32_t c, void* = nullptr) override {
        return creator_op_8(a, b, c);
    }
    bool generic_8(std::uint32_t a, std::uint32_t b, void* = nullptr) override { return creator_op_9(a, b); }
    void generic_9(std::uint32_t a, std::uint32_t b, std::uint32_t c, std::uint32_t, void* = nullptr) override {
        creator_op_11(a, b, reinterpret_cast<void*>(static_cast<std::uintptr_t>(c)));
    }

    // 1: build the new shapes in the scene, lent for the call.
    virtual bool creation_command(HostScene*, void* = nullptr) { return false; }
    virtual bool creator_op_2(void* = nullptr) { return false; }
    virtual bool creator_op_3(void* = nullptr) { return false; }
    virtual bool creator_op_4(void* = nullptr) { return false; }
    virtual bool creator_op_5(void* = nullptr) { return false; }
    virtual bool creator_op_6(std::uint32_t, std::uint32_t, void* = nullptr) { return true; }
    virtual bool creator_op_7(const Vec3*, std::uint32_t, std::uint32_t, void* = nullptr) { return true; }
    virtual bool creator_op_8(std::uint32_t, std::uint32_t, std::uint32_t, void* = nullptr) { return true; }
    virtual bool creator_op_9(std::uint32_t, std::uint32_t, void* = nullptr) { return true; }
    virtual bool creator_op_10(std::uint32_t, void* = nullptr) { return true; }
    virtual void creator_op_11(std::uint32_t, std::uint32_t, void* = nullptr) {}
    virtual bool creator_op_12(void* = nullptr) { return false; }
#include "slots/creator_13_200_reserved.inc"

protected:
    creator_interface() = default;
    ~creator_interface() = default;
};

}  // namespace ftv
