#include "module/creator_component.h"

#include "host/entry_frame.h"

namespace ftv {

bool creator_component::input(const Vec3& position, std::uint32_t first, std::uint32_t second, void*) {
    input_ = CreatorInput{position, first, second};
    return true;
}

bool creator_component::creation_command(HostScene* scene, void*) {
    enter_from_host([this, scene] { create_group(*scene, input_); });
    return true;
}

}  // namespace ftv
