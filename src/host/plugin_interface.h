// plugin_interface: the operations every component offers the host.
//
// The host calls operations by slot position, so the declaration order below is
// the binary interface: after unknown_interface's five come 200 operations,
// numbered here from 1. Operations 90 to 200 are reserved and raise the
// integer 0. Each operation takes, after its own arguments, a reserved pointer
// that the host passes and the plug-in ignores. Placeholders (generated, see
// cmake/InterfaceSlots.cmake) hold the positions of operations this plug-in
// does not define; they answer 0 and do nothing.
//
// Never add, remove or reorder a virtual function here, and never overload a
// name: the slots would move.
#pragma once

#include <cstdint>

#include "geometry/primitives.h"
#include "host/plugin_id.h"
#include "host/reserved_operation.h"
#include "host/unknown_interface.h"

namespace ftv {

class HostScene;

class plugin_interface : public unknown_interface {
public:
    // 1: the component's identifier.
    virtual PluginId identifier(void* = nullptr) { return 0; }
#include "slots/plugin_2_25_zero.inc"
    // 26: scene initialisation. The default clears the result flag.
    virtual void initialization(bool& result, HostScene*, void* = nullptr) { result = false; }
#include "slots/plugin_27_27_zero.inc"
    // 28: the component's menu entry was picked.
    virtual void menu_command(std::int32_t, HostScene*, void* = nullptr) {}
    // 29: the scene changed. The default clears the result flag.
    virtual void update_notification(bool& result, HostScene*, void* = nullptr) { result = false; }
#include "slots/plugin_30_31_zero.inc"
    // 32: the SDK version the component was built against.
    virtual std::int32_t sdk_version(void* = nullptr) { return kSdkVersion; }
#include "slots/plugin_33_48_zero.inc"
    // 49 to 56: the generic operations G1 to G8, which creator_interface routes
    // to its own operations. G6 (54) hands over an input position. The creator
    // answers as these defaults do, but for G2.
    virtual bool generic_1(void* = nullptr) { return false; }
    virtual bool generic_2(void* = nullptr) { return false; }
    virtual bool generic_3(void* = nullptr) { return false; }
    virtual bool generic_4(void* = nullptr) { return false; }
    virtual bool generic_5(std::uint32_t, std::uint32_t, void* = nullptr) { return true; }
    virtual bool input(const Vec3&, std::uint32_t, std::uint32_t, void* = nullptr) { return true; }
    virtual bool generic_7(std::uint32_t, std::uint32_t, std::uint32_t, void* = nullptr) { return true; }
    virtual bool generic_8(std::uint32_t, std::uint32_t, void* = nullptr) { return true; }
#include "slots/plugin_57_73_zero.inc"
    // 74: the generic operation G9, routed by attribute_interface and
    // creator_interface to operations of their own.
    virtual void generic_9(std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t, void* = nullptr) {}
#include "slots/plugin_75_89_zero.inc"
#include "slots/plugin_90_200_reserved.inc"

protected:
    plugin_interface() = default;
    ~plugin_interface() = default;
};

}  // namespace ftv
