// attribute_component: tags or untags the part the user is working on.
#pragma once

#include "host/attribute_interface.h"

namespace ftv {

class attribute_component final : public attribute_interface {
public:
    void* destroy(std::uint32_t flags) override { return destroy_component(this, flags); }
    PluginId identifier(void* = nullptr) override { return kAttributeId; }
};

}  // namespace ftv
