// creator_component: builds a tagged group around a "#center" marker from the
// user's input position and the current selection.
#pragma once

#include "behaviour/group_creator.h"
#include "host/creator_interface.h"

namespace ftv {

class creator_component final : public creator_interface {
public:
    void* destroy(std::uint32_t flags) override { return destroy_component(this, flags); }
    PluginId identifier(void* = nullptr) override { return kCreatorId; }

    // Keeps the position and both values, bit for bit, for the next creation.
    bool input(const Vec3& position, std::uint32_t first, std::uint32_t second, void* = nullptr) override;
    // Builds the group from the last input. Answers true.
    bool creation_command(HostScene* scene, void* = nullptr) override;

private:
    CreatorInput input_;
};

}  // namespace ftv
