// creator_component: builds a tagged group around a "#center" marker from the
// user's input position and the current selection.
#pragma once

#include "host/creator_interface.h"

namespace ftv {

class creator_component final : public creator_interface {
public:
    void* destroy(std::uint32_t flags) override { return destroy_component(this, flags); }
    PluginId identifier(void* = nullptr) override { return kCreatorId; }
};

}  // namespace ftv
