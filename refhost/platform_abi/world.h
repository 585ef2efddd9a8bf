// The scene behind the host objects: fixed arrays, reset for every scenario,
// with the host's call counter, the chosen faulting call and the ledger.
#pragma once

#include "host_objects.h"

enum { kMaxNodes = 24, kMaxShapeViews = 96, kMaxStreamViews = 16, kMaxCenterViews = 8, kMaxStream = 4, kMaxDialogItems = 3 };
enum Kind : i32 { kMarker = 1, kPart = 2, kMesh = 4 };
using ftv::kMainId;

struct Node {
    char name[32];
    i32 kind;
    i32 parent, first, next;  // node numbers, -1 for none
    bool has_stream;
    i32 stream[kMaxStream];
    i32 stream_length;
    Mat4 world;  // what HostShape::local_to_world reports
    Vec3 center;
    Mat4 transformation;
    i32 transformations_set;
    Mat4 part_matrix;
    i32 part_matrices_set;
    Vec3 made_at;  // HostScene::create_shape_at's arguments
    u32 first_value, second_value;
};

// What HostScene::rotation_between answers for a turn from +Z onto a
// direction: rotations the reference host gave, recorded.
struct RecordedTurn {
    Vec3 to;
    Mat4 turn;
};

struct World {
    Node nodes[kMaxNodes];
    i32 node_count;
    i32 selection[4];
    i32 selection_count;
    i32 current_part, active_shape;
    bool has_active_scene;
    Vec3 eye;
    Mat4 input_to_world;
    // The dialog's answers (per check box), and the boxes the plug-in added.
    bool dialog_confirms, dialog_ticks[kMaxDialogItems];
    i32 dialog_items;
    const RecordedTurn* turns;  // rotation_between's answers
    i32 turn_count;
    i32 unknown_rotations;  // rotation_between asked for a direction not recorded
    i32 outstanding;        // references the plug-in holds, of every object
    i32 calls;              // host operations called so far
    i32 fault_at;           // the call that raises HostFault, or 0
    i32 misuse;
};

extern World world;
extern HostApp app;
extern HostScene scene;

// An empty scene: the root part only, nothing held, no fault chosen.
void reset_world();
i32 add_node(i32 parent, const char* name, i32 kind);
void set_stream(i32 node, i32 value);
Mat4 identity();
// A shape the host lends to a command: never to be released.
HostShape* lent_shape(i32 node);
// Nothing held and no misuse.
bool ledger_balanced();
