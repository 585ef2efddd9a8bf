#include "check.h"
#include "checks.h"
#include "facing_scene.h"
#include "command_scenes.h"

namespace {

bool stored(i32 node, i32 value) {
    const Node& n = world.nodes[node];
    return n.has_stream && n.stream_length >= 1 && n.stream[0] == value;
}

void check_update_pass(void* main) {
    reset_world();
    const FacingScene s = build_facing_scene();
    set_stream(0, 1);
    initialize(main);
    check(notify(main), "the update notification leaves the result flag");
    check(world.unknown_rotations == 0, "the pass asks for the rotation toward the recorded directions");
    const Mat4 one = identity();
    for (int k = 0; k < kFacingCaseCount; ++k) {
        const Node& part = world.nodes[s.cases[k]];
        checkf(part.transformations_set == 1 && part.part_matrices_set == 1 &&
                   same_bits(&part.part_matrix, &one, sizeof one),
               "case %d is turned once, its part matrix set to the identity", k);
        checkf(same_bits(&part.transformation, kFacingCases[k].transformation, sizeof(Mat4)),
               "case %d receives the Linux build's transformation, bit for bit", k);
    }
    for (i32 node : s.left_alone) check(world.nodes[node].transformations_set == 0, "a part left alone");
    check(ledger_balanced(), "update pass: ledger balanced");
}

void check_creation(void* creator) {
    reset_world();
    const CreationScene s = build_creation_scene();
    world.input_to_world.m[3][0] = 1.0f;
    world.input_to_world.m[3][1] = 2.0f;
    world.input_to_world.m[3][2] = 3.0f;
    const u32 half = 0x3F000000;  // 0.5f, passed on as bits
    check(input(creator, {0.5f, 0.25f, -2.0f}, half, 7), "the input handler answers true");
    check(create(creator), "the creation command answers true");

    const Node& holder = world.nodes[s.holder];
    const i32 group = holder.first;
    const Node& g = world.nodes[group];
    check(group >= 0 && same_text(g.name, "Z_FaceToViewer") && g.kind == kPart && stored(group, 1),
          "a tagged group is made beside the selection");
    const i32 marker = g.first;
    const Vec3 at = {1.5f, 2.25f, 1.0f};
    check(marker >= 0 && same_text(world.nodes[marker].name, "#center") &&
              same_bits(&world.nodes[marker].made_at, &at, sizeof at) &&
              world.nodes[marker].first_value == half && world.nodes[marker].second_value == 7,
          "its first child is the marker, made where the input falls, with the input's values");
    check(marker >= 0 && world.nodes[marker].next == s.q && world.nodes[s.q].next == s.p &&
              world.nodes[s.p].next == -1,
          "the selected shapes follow the marker in selection order");
    check(world.active_shape == group, "the group is activated");
    check(ledger_balanced(), "creation command: ledger balanced");
}

}  // namespace

void check_commands(const Components& c) {
    check_update_pass(c.main);
    check_creation(c.creator);
}
