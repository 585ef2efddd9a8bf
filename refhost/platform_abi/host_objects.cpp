// The host operations over the world's scene. Each one counts as a host call
// and raises HostFault when it is the chosen one; AddRef, Release and
// QueryInterface are not host operations in that sense.
#include "world.h"

World world;
constinit HostApp app;
constinit HostScene scene;
namespace {
constinit HostCamera camera_object;
constinit HostDialog dialog_object;
constinit HostShape shape_views[kMaxShapeViews];
constinit HostStream stream_views[kMaxStreamViews];
constinit HostCenterObject center_views[kMaxCenterViews];
constinit HostPartObject part_objects[kMaxNodes];
i32 shape_views_used = 0;
i32 stream_views_used = 0;
i32 center_views_used = 0;

void misuse(const char* what) {
    ++world.misuse;
    printf("host misuse: %s\n", what);
}

void host_call() {
    if (++world.calls == world.fault_at) throw HostFault{world.calls};
}

void copy_text(char* to, const char* from, size_t size) {
    size_t n = strlen(from);
    if (n >= size) n = size - 1;
    memcpy(to, from, n);
    to[n] = '\0';
}

// A fresh view onto node from a pool, counted (handed out with one
// reference) or lent; null when the pool is used up.
template <class View, int N>
View* view_onto(View (&pool)[N], i32& used, i32 node, bool counted) {
    if (used == N) {
        misuse("out of host objects");
        return nullptr;
    }
    View* view = &pool[used++];
    view->node = node;
    view->count = 0;
    return counted ? view->hand_out(view) : view;
}

HostShape* shape_view(i32 node, bool counted) { return view_onto(shape_views, shape_views_used, node, counted); }

Node& at(i32 node) { return world.nodes[node]; }

u32 kPartHandle = 0x1000, kShapeHandle = 0x2000, kMoveHandle = 0x3000;

i32 node_of(u32 handle, u32 form, const char* operation) {
    const i32 node = static_cast<i32>(handle - form);
    if (node < 0 || node >= world.node_count) {
        misuse(operation);
        return 0;
    }
    return node;
}

void unlink(i32 node) {
    i32* link = &at(at(node).parent).first;
    while (*link != node) link = &at(*link).next;
    *link = at(node).next;
}

}  // namespace

HostShape* lent_shape(i32 node) { return shape_view(node, false); }

Mat4 identity() {
    Mat4 m = {};
    for (int i = 0; i < 4; ++i) m.m[i][i] = 1.0f;
    return m;
}

i32 add_node(i32 parent, const char* name, i32 kind) {
    const i32 node = world.node_count++;
    Node& n = at(node);
    copy_text(n.name, name, sizeof n.name);
    n.kind = kind;
    n.parent = parent;
    n.first = n.next = -1;
    n.world = n.transformation = n.part_matrix = identity();
    if (parent >= 0) {
        i32* link = &at(parent).first;
        while (*link >= 0) link = &at(*link).next;
        *link = node;
    }
    return node;
}

void set_stream(i32 node, i32 value) {
    at(node).has_stream = true;
    at(node).stream[0] = value;
    at(node).stream_length = 1;
}

void reset_world() {
    memset(&world, 0, sizeof world);
    world.current_part = world.active_shape = -1;
    world.has_active_scene = true;
    world.input_to_world = identity();
    add_node(-1, "", kPart);
    app.count = scene.count = camera_object.count = dialog_object.count = 0;
    shape_views_used = stream_views_used = center_views_used = 0;
    for (HostPartObject& part : part_objects) part.count = 0;
}

bool ledger_balanced() { return world.misuse == 0 && world.outstanding == 0; }

void handed_out() { ++world.outstanding; }

// ---- Counted

i32 __stdcall Counted::QueryInterface(const Guid&, void**) {
    misuse("QueryInterface");
    return static_cast<i32>(0x80004002u);
}

u32 __stdcall Counted::AddRef() {
    misuse("AddRef: the plug-in never adds a reference");
    ++world.outstanding;
    return static_cast<u32>(++count);
}

u32 __stdcall Counted::Release() {
    if (count <= 0) misuse("Release of a reference never handed out");
    --world.outstanding;
    return static_cast<u32>(--count);
}

// ---- HostApp

bool HostApp::ui_is_japanese(void*) {
    host_call();
    return false;  // the module's tests under Wine check both languages
}

HostScene* HostApp::active_scene(void*) {
    host_call();
    return world.has_active_scene ? scene.take() : nullptr;
}

// ---- HostStream

HostStream* HostStream::take(i32 of) {
    HostStream* view = view_onto(stream_views, stream_views_used, of, true);
    if (view != nullptr) view->position = 0;
    return view;
}

void HostStream::rewind(i32, void*) {
    host_call();
    position = 0;
}

void HostStream::read_int(i32* value, void*) {
    host_call();
    *value = position < at(node).stream_length ? at(node).stream[position] : 0;
    ++position;
}

void HostStream::write_int(const i32* value, void*) {
    host_call();
    if (position >= kMaxStream) return misuse("stream too long");
    at(node).stream[position++] = *value;
    if (position > at(node).stream_length) at(node).stream_length = position;
}

// ---- HostDialog

void HostDialog::set_title(const char*, void*) { host_call(); }

void HostDialog::add_checkbox(i32 type, const char*, i32, void*) {
    host_call();
    if (type != 1) misuse("add_checkbox: item type");
    if (world.dialog_items == kMaxDialogItems) return misuse("add_checkbox: too many items");
    ++world.dialog_items;
}

void HostDialog::set_checked(i32 item, bool, void*) {
    host_call();
    if (item < 0 || item >= world.dialog_items) return misuse("set_checked: item");
}

bool HostDialog::run_modal(i32, void*) {
    host_call();
    return world.dialog_confirms;
}

void HostDialog::is_checked(i32 item, bool* checked, void*) {
    host_call();
    if (item < 0 || item >= world.dialog_items) return misuse("is_checked: item");
    *checked = world.dialog_ticks[item];
}

// ---- HostCamera, HostCenterObject, HostPartObject

Vec3 HostCamera::eye_position(i32, void*) {
    host_call();
    return world.eye;
}

HostCenterObject* HostCenterObject::take(i32 of) { return view_onto(center_views, center_views_used, of, true); }

Vec3 HostCenterObject::center(void*) {
    host_call();
    return at(node).center;
}

void HostPartObject::set_matrix(const Mat4& matrix, void*) {
    host_call();
    at(node).part_matrix = matrix;
    ++at(node).part_matrices_set;
}

// ---- HostShape

HostShape* HostShape::first_child(void*) {
    host_call();
    return shape_view(node >= 0 ? at(node).first : -1, true);
}

HostShape* HostShape::next_sibling(void*) {
    host_call();
    return shape_view(node >= 0 ? at(node).next : -1, true);
}

bool HostShape::is_end(void*) {
    host_call();
    return node < 0;
}

i32 HostShape::kind(void*) {
    host_call();
    return node >= 0 ? at(node).kind : 0;
}

const char* HostShape::shape_name(void*) {
    host_call();
    return node >= 0 ? at(node).name : "";
}

HostShape* HostShape::parent(void*) {
    host_call();
    return at(node).parent >= 0 ? shape_view(at(node).parent, true) : nullptr;
}

HostScene* HostShape::scene(void*) {
    host_call();
    return ::scene.take();
}

HostStream* HostShape::find_stream(u32 id, void*) {
    host_call();
    if (id != kMainId) misuse("find_stream: plug-in id");
    return at(node).has_stream ? HostStream::take(node) : nullptr;
}

HostStream* HostShape::make_stream(u32 id, i32, i32, void*) {
    host_call();
    if (id != kMainId) misuse("make_stream: plug-in id");
    at(node).has_stream = true;
    at(node).stream_length = 0;
    return HostStream::take(node);
}

Mat4 HostShape::local_to_world(void*) {
    host_call();
    return at(node).world;
}

Mat4 HostShape::world_to_local(void*) {
    host_call();
    return identity();
}

void HostShape::set_transformation(const Mat4& matrix, void*) {
    host_call();
    at(node).transformation = matrix;
    ++at(node).transformations_set;
}

HostCenterObject* HostShape::center_object(void*) {
    host_call();
    return HostCenterObject::take(node);
}

HostPartObject* HostShape::part_object(void*) {
    host_call();
    part_objects[node].node = node;
    return &part_objects[node];
}

u32 HostShape::part_handle(void*) {
    host_call();
    return kPartHandle + static_cast<u32>(node);
}

u32 HostShape::handle(void*) {
    host_call();
    return kShapeHandle + static_cast<u32>(node);
}

void HostShape::move_after(u32 target, void*) {
    host_call();
    const i32 anchor = node_of(target, kMoveHandle, "move_after: not a handle from shape_from_handle");
    unlink(node);
    at(node).parent = at(anchor).parent;
    at(node).next = at(anchor).next;
    at(anchor).next = node;
}

// ---- HostScene

HostShape* HostScene::root_part(void*) {
    host_call();
    return shape_view(0, true);
}

HostDialog* HostScene::new_dialog(i32, void*) {
    host_call();
    // Every dialog starts empty; the answers the scenario chose stay.
    world.dialog_items = 0;
    return dialog_object.take();
}

HostCamera* HostScene::camera(void*) {
    host_call();
    return camera_object.take();
}

// Answers with the rotation recorded for that direction, to the bit.
Mat4 HostScene::rotation_between(const Vec3& from, const Vec3& to, void*) {
    host_call();
    const Vec3 z = {0.0f, 0.0f, 1.0f};
    for (i32 i = 0; i < world.turn_count; ++i) {
        const RecordedTurn& recorded = world.turns[i];
        if (memcmp(&from, &z, sizeof z) == 0 && memcmp(&to, &recorded.to, sizeof to) == 0) return recorded.turn;
    }
    ++world.unknown_rotations;
    return identity();
}

i32 HostScene::selection_count(void*) {
    host_call();
    return world.selection_count;
}

HostShape* HostScene::selected_shape(i32 index, void*) {
    host_call();
    return index >= 0 && index < world.selection_count ? shape_view(world.selection[index], true) : nullptr;
}

void HostScene::set_current_part(u32 part_handle, void*) {
    host_call();
    world.current_part = node_of(part_handle, kPartHandle, "set_current_part: not a part handle");
}

HostShape* HostScene::begin_part(const char* name, void*) {
    host_call();
    return shape_view(add_node(world.current_part, name, kPart), false);
}

void HostScene::end_part(void*) { host_call(); }

void HostScene::end_creation(void*) { host_call(); }

Mat4 HostScene::input_to_world(void*) {
    host_call();
    return world.input_to_world;
}

HostShape* HostScene::create_shape_at(const char* name, const Vec3* position, u32 first, u32 second, void*) {
    host_call();
    const i32 node = add_node(world.current_part, name, kMarker);
    at(node).made_at = *position;
    at(node).first_value = first;
    at(node).second_value = second;
    return shape_view(node, false);
}

u32 HostScene::shape_from_handle(u32 shape_handle, void*) {
    host_call();
    return kMoveHandle + static_cast<u32>(node_of(shape_handle, kShapeHandle, "shape_from_handle: not a handle"));
}

void HostScene::activate_shape(u32 shape_handle, void*) {
    host_call();
    world.active_shape = node_of(shape_handle, kShapeHandle, "activate_shape: not a handle");
}
