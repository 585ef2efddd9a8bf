#include "behaviour/group_creator.h"

#include <vector>

#include "behaviour/part_tag.h"
#include "behaviour/plugin_stream.h"
#include "behaviour/texts.h"
#include "host/contract.h"
#include "host/host_ref.h"
#include "host/host_scene.h"
#include "host/host_shape.h"

namespace ftv {

namespace {

constexpr char kGroupName[] = "Z_FaceToViewer";

// The handles of the part and of every part above it up to the root.
std::vector<HostHandle> lineage(HostShape& part) {
    std::vector<HostHandle> handles{part.handle()};
    for (auto up = adopt(part.parent()); up; up = adopt(up->parent())) handles.push_back(up->handle());
    return handles;
}

bool contains(const std::vector<HostHandle>& handles, HostHandle handle) {
    for (HostHandle h : handles) {
        if (h == handle) return true;
    }
    return false;
}

}  // namespace

void create_group(HostScene& scene, const CreatorInput& input) {
    // The selection is counted once, before anything is made.
    const std::int32_t count = scene.selection_count();
    HostRef<HostShape> first_selected;
    HostRef<HostShape> holder;
    if (count > 0) {
        first_selected = adopt(scene.selected_shape(0));
        holder = adopt(first_selected->parent());
        // Beside the first selected shape; in the root when the root itself is selected.
        HostShape& home = holder ? *holder.get() : *first_selected.get();
        scene.set_current_part(home.part_handle());
    }

    const auto group = HostRef<HostShape>::lent(scene.begin_part(kGroupName));
    scene.end_part();
    scene.end_creation();

    // The marker's position in the group's coordinates; the input stays as handed over.
    Vec3 position;
    transform_point(input.position, input_to_world(scene), position);
    transform_point(position, world_to_local(*group.get()), position);

    scene.set_current_part(group->part_handle());
    const auto marker =
        HostRef<HostShape>::lent(scene.create_shape_at(kMarkerName, &position, input.first, input.second));
    scene.end_creation();

    // The group's lineage: none of these may move into it.
    const std::vector<HostHandle> above = count > 0 ? lineage(*group.get()) : std::vector<HostHandle>{};
    HostHandle anchor = marker->handle();
    for (std::int32_t i = 0; i < count; ++i) {
        const auto shape = adopt(scene.selected_shape(i));
        if (!shape) continue;
        const HostHandle handle = shape->handle();
        if (contains(above, handle)) continue;
        shape->move_after(scene.shape_from_handle(anchor));
        anchor = handle;
    }

    scene.activate_shape(group->handle());
    write_new_stream(*group.get(), kTagged);
}

}  // namespace ftv
