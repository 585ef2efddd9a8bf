#include "check.h"
#include "checks.h"
#include "facing_scene.h"
#include "command_scenes.h"

namespace {

// Code page 932 texts.
const char kPaneOn[] = "Z_FaceToViewer \x97\x4c\x8c\xf8";             // 有効
const char kPaneOff[] = "Z_FaceToViewer \x96\xb3\x8c\xf8";            // 無効
const char kSettingsTitle[] = "Z_FaceToViewer \x90\xdd\x92\xe8";      // 設定
const char kAttributeTitle[] = "Z_FaceToViewer\x91\xae\x90\xab \x90\xdd\x92\xe8";  // 属性 設定
const char kSwitchLabel[] = "Z_FaceToViewer\x97\x4c\x8c\xf8";         // 有効

const char* pane_text() {
    static PaneRecord record;
    return pane_record(record) ? record.text : "";
}

bool stored(i32 node, i32 value) {
    const Node& n = world.nodes[node];
    return n.has_stream && n.stream_length >= 1 && n.stream[0] == value;
}

void check_switch(void* main) {
    reset_world();
    check(initialize(main), "initialisation leaves the result flag");
    PaneRecord record;
    check(pane_record(record) && record.registrations == 1 && record.handler != nullptr,
          "initialisation registers the pane's click handler");
    check(same_text(pane_text(), kPaneOff) && record.icons_set >= 1, "a fresh scene shows the off state");
    const i32 before = world.calls;
    check(notify(main) && world.calls == before, "switched off, the update pass calls nothing");
    check(ledger_balanced(), "initialisation: ledger balanced");

    world.dialog_confirms = world.dialog_ticks[0] = true;
    settings_dialog(main);
    check(same_text(world.dialog_title, kSettingsTitle) && same_text(world.dialog_label, kSwitchLabel) &&
              world.dialog_items == 1 && !world.dialog_shown_ticked[0],
          "the settings dialog shows the switch, off");
    check(stored(0, 1) && same_text(pane_text(), kPaneOn), "confirming it ticked stores and shows on");
    check(ledger_balanced(), "settings dialog: ledger balanced");

    check(click(kRightButtonDown) && stored(0, 1), "a right click changes nothing");
    check(click(kLeftButtonDown) && stored(0, 0) && same_text(pane_text(), kPaneOff), "a left click turns off");
    check(click(kLeftButtonDown) && stored(0, 1) && same_text(pane_text(), kPaneOn), "another turns on");
    check(ledger_balanced(), "pane clicks: ledger balanced");
    check(initialize(main) && pane_record(record) && record.registrations == 1,
          "a second initialisation registers nothing more");
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

void check_attribute(void* attribute) {
    reset_world();
    const i32 plain = add_node(0, "Plain", kPart);
    const i32 other = add_node(0, "Other", kPart);
    world.dialog_confirms = world.dialog_ticks[0] = true;
    check(!attribute_command(attribute, plain), "the attribute command answers false");
    check(same_text(world.dialog_title, kAttributeTitle) && same_text(world.dialog_label, kSwitchLabel) &&
              world.dialog_items == 3 && !world.dialog_shown_ticked[0] && !world.dialog_shown_ticked[1],
          "the attribute dialog shows the untagged part");
    check(stored(plain, 1), "confirming it ticked tags the part");
    world.dialog_ticks[1] = true;
    check(!attribute_command(attribute, plain) && world.dialog_shown_ticked[0] && !world.dialog_shown_ticked[1] &&
              stored(plain, 2),
          "ticking the second box too makes the part upright");
    world.dialog_confirms = false;
    check(!attribute_command(attribute, other) && !world.nodes[other].has_stream, "cancelling stores nothing");
    check(ledger_balanced(), "attribute command: ledger balanced");
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
    check_switch(c.main);
    check_update_pass(c.main);
    check_attribute(c.attribute);
    check_creation(c.creator);
}
