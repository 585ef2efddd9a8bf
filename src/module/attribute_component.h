// attribute_component: tags or untags the part the user is working on.
#pragma once

#include "host/attribute_interface.h"

namespace ftv {

class attribute_component final : public attribute_interface {
public:
    void* destroy(std::uint32_t flags) override { return destroy_component(this, flags); }
    PluginId identifier(void* = nullptr) override { return kAttributeId; }

    // The shape is lent for the call. Answers false always.
    bool attribute_command(HostShape* shape, void* = nullptr) override;
};

}  // namespace ftv
