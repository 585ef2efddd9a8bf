#include "command_scenes.h"

#include "facing_scene.h"

namespace {

i32 add_tagged(i32 parent, const char* name, i32 tag, const char* marker, Vec3 center) {
    const i32 part = add_node(parent, name, kPart);
    set_stream(part, tag);
    world.nodes[add_node(part, marker, kMarker)].center = center;
    add_node(part, "face", kMesh);
    return part;
}

}  // namespace

FacingScene build_facing_scene() {
    // The reference host's answers to the directions the Linux build hands it.
    static RecordedTurn turns[kFacingCaseCount];
    for (int k = 0; k < kFacingCaseCount; ++k) {
        memcpy(&turns[k].to, kFacingCases[k].direction, sizeof(Vec3));
        memcpy(&turns[k].turn, kFacingCases[k].turn, sizeof(Mat4));
    }
    world.turns = turns;
    world.turn_count = kFacingCaseCount;
    FacingScene s;
    world.eye = {kFacingEye[0], kFacingEye[1], kFacingEye[2]};
    const i32 holder = add_node(0, "Holder", kPart);
    for (int k = 0; k < kFacingCaseCount; ++k) {
        const float* c = kFacingCases[k].center;
        s.cases[k] = add_tagged(k == 0 ? holder : 0, "Case", 1, "#center", {c[0], c[1], c[2]});
        memcpy(&world.nodes[s.cases[k]].world, kFacingCases[k].world, sizeof(Mat4));
    }
    const i32 untagged = add_tagged(0, "Tagged 0", 0, "#center", {0, 0, 0});
    s.left_alone[0] = add_tagged(untagged, "Inside", 1, "#center", {0, 0, 0});
    s.left_alone[1] = add_tagged(0, "Wrong case", 1, "#Center", {0, 0, 0});
    add_node(0, "Loose mesh", kMesh);
    return s;
}

CreationScene build_creation_scene() {
    CreationScene s;
    s.holder = add_node(0, "Holder", kPart);
    s.q = add_node(s.holder, "Q", kMesh);
    s.p = add_node(s.holder, "P", kMesh);
    world.selection[0] = s.q;
    world.selection[1] = s.p;
    world.selection_count = 2;
    return s;
}

bool initialize(void* main) {
    bool flag = true;
    call_slot<void>(main, plugin_slot(26), &flag, &scene);
    return flag;
}

void settings_dialog(void* main) { call_slot<void>(main, plugin_slot(28), 0, &scene); }

bool notify(void* main) {
    bool flag = true;
    call_slot<void>(main, plugin_slot(29), &flag, &scene);
    return flag;
}

bool attribute_command(void* attribute, i32 node) {
    return call_slot<bool>(attribute, own_slot(1), lent_shape(node));
}

bool input(void* creator, const Vec3& position, u32 first, u32 second) {
    return call_slot<bool>(creator, plugin_slot(54), &position, first, second);
}

bool create(void* creator) { return call_slot<bool>(creator, own_slot(1), &scene); }

bool click(u32 message) {
    PaneRecord record;
    if (!pane_record(record) || record.handler == nullptr) return false;
    record.handler(nullptr, message, 0, 0);
    return true;
}
