#include "module/creator_component.h"

namespace ftv {

bool creator_component::input(const Vec3& position, std::uint32_t first, std::uint32_t second, void*) {
    input_ = CreatorInput{position, first, second};
    return true;
}

bool creator_component::creation_command(HostScene* scene, void*) {
    create_group(*scene, input_);
    return true;
}

}  // namespace ftv
