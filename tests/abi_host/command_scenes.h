// The scenes the commands run on, and how the host drives each command.
#pragma once

#include "plugin.h"
#include "world.h"

// Root: a holder part (no stream) with facing case 0, facing case 1, a part
// tagged 0 holding a tagged part, and a tagged part whose first child is
// "#Center". Only the two cases are to turn.
struct FacingScene {
    i32 cases[2];
    i32 left_alone[2];
};
FacingScene build_facing_scene();

// Root: a holder part with the meshes Q and P, both selected in that order.
struct CreationScene {
    i32 holder, q, p;
};
CreationScene build_creation_scene();

// The commands, called as the host calls them. initialize and notify answer
// the result flag as the component left it (the host passes true).
bool initialize(void* main);
void settings_dialog(void* main);
bool notify(void* main);
bool attribute_command(void* attribute, i32 node);
bool input(void* creator, const Vec3& position, u32 first, u32 second);
bool create(void* creator);
// Delivers a mouse message to the pane's click handler; false without one.
bool click(u32 message);
