// attribute_interface: components that edit the attributes of one shape.
//
// Slots: those of plugin_interface, then 200 operations of its own, numbered
// here from 1; 20 to 200 are reserved and raise the integer 0. Operations
// given a flag record write one byte into it, leave the rest untouched and
// hand its address back. Each operation takes a trailing reserved pointer.
//
// Never add, remove or reorder a virtual function here, and never overload a
// name: the slots would move.
#pragma once

#include <cstdint>

#include "host/plugin_interface.h"

namespace ftv {

class HostShape;

class attribute_interface : public plugin_interface {
public:
    // plugin_interface 74 goes to operation 8, its third argument standing in
    // for the reserved pointer.
    void generic_9(std::uint32_t a, std::uint32_t b, std::uint32_t c, std::uint32_t, void* = nullptr) override {
        attribute_op_8(a, b, reinterpret_cast<void*>(static_cast<std::uintptr_t>(c)));
    }

    // 1: edit the attributes of the shape, lent for the call.
    virtual bool attribute_command(HostShape*, void* = nullptr) { return false; }
    virtual bool attribute_op_2(std::uint32_t, std::uint32_t, void* = nullptr) { return false; }
    virtual bool attribute_op_3(std::uint32_t, std::uint32_t, void* = nullptr) { return false; }
    virtual std::uint8_t* attribute_op_4(std::uint8_t* record, void* = nullptr) { return set_flag(record, 0, 1); }
    virtual std::uint8_t* attribute_op_5(std::uint8_t* record, void* = nullptr) { return set_flag(record, 0, 0); }
    virtual std::uint8_t* attribute_op_6(std::uint8_t* record, void* = nullptr) { return set_flag(record, 0, 0); }
    virtual std::uint8_t* attribute_op_7(std::uint8_t* record, std::uint32_t, void* = nullptr) {
        return set_flag(record, 0, 1);
    }
    virtual void attribute_op_8(std::uint32_t, std::uint32_t, void* = nullptr) {}
    virtual std::int32_t attribute_op_9(std::uint32_t, void* = nullptr) { return 1; }
    virtual std::int32_t attribute_op_10(std::uint32_t, std::uint32_t, std::uint32_t, void* = nullptr) { return 0; }
    virtual std::uint8_t* attribute_op_11(std::uint8_t* record, std::uint32_t, std::uint32_t, std::uint32_t,
                                          std::uint32_t, std::uint32_t, void* = nullptr) {
        return set_flag(record, 24, 1);
    }
    virtual std::int32_t attribute_op_12(std::uint32_t, std::uint32_t, void* = nullptr) { return 1; }
    virtual std::int32_t attribute_op_13(std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t,
                                         std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t,
                                         void* = nullptr) {
        return 0;
    }
    virtual std::int32_t attribute_op_14(std::uint32_t, std::uint32_t, void* = nullptr) { return 0; }
    virtual std::int32_t attribute_op_15(std::uint32_t, std::uint32_t, void* = nullptr) { return 0; }
    virtual std::uint8_t* attribute_op_16(std::uint8_t* record, void* = nullptr) { return set_flag(record, 0, 0); }
    virtual bool attribute_op_17(std::uint32_t, void* = nullptr) { return false; }
    virtual std::uint8_t* attribute_op_18(std::uint8_t* record, void* = nullptr) { return set_flag(record, 0, 0); }
    virtual bool attribute_op_19(std::uint32_t, void* = nullptr) { return false; }
#include "slots/attribute_20_200_reserved.inc"

protected:
    attribute_interface() = default;
    ~attribute_interface() = default;

private:
    static std::uint8_t* set_flag(std::uint8_t* record, int offset, std::uint8_t value) {
        record[offset] = value;
        return record;
    }
};

}  // namespace ftv
