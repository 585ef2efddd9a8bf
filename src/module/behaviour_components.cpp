// The attribute and creator components hand their commands to the behaviour,
// each inside an EntryFrame.
#include "behaviour/attribute_dialog.h"
#include "host/entry_frame.h"
#include "module/attribute_component.h"
#include "module/creator_component.h"

namespace ftv {

bool attribute_component::attribute_command(HostShape* shape, void*) {
    const EntryFrame frame;
    return run_attribute_dialog(*shape);
}

bool creator_component::input(const Vec3& position, std::uint32_t first, std::uint32_t second, void*) {
    input_ = CreatorInput{position, first, second};
    return true;
}

bool creator_component::creation_command(HostScene* scene, void*) {
    const EntryFrame frame;
    create_group(*scene, input_);
    return true;
}

}  // namespace ftv
