// The host objects, as a host built with the platform's C++ compiler declares
// and implements them: IUnknown's three operations __stdcall, every other
// operation __thiscall (the compiler's default for members), Vec3 and Mat4
// results by value. The operations are declared in the slot order of the
// plug-in's host layer (src/host/host_*.h), which the real host's SDK fixes.
//
// Every object counts the references it hands out, so that a release of one
// it did not is seen; the ledger counts them all together (world.h), so that
// no kind of object can be left out of it. It is balanced when the plug-in
// holds none, released none it did not hold and added none by AddRef (the
// plug-in never adds a reference).
#pragma once

#include "host/contract.h"
#include "system.h"

struct Vec3 {
    float x, y, z;
};
struct Mat4 {
    float m[4][4];
};
using Guid = ftv::InterfaceId;

// The host's own exception, raised by the chosen host call.
struct HostFault {
    i32 call;
};

// Notes one reference handed to the plug-in in the ledger.
void handed_out();

class Counted {
public:
    virtual i32 __stdcall QueryInterface(const Guid&, void**);
    virtual u32 __stdcall AddRef();
    virtual u32 __stdcall Release();

    i32 count = 0;

    // self, handed out with one more reference.
    template <class T>
    T* hand_out(T* self) {
        ++count;
        handed_out();
        return self;
    }
};

class HostScene;
class HostShape;
class HostStream;

class HostApp : public Counted {
public:
    virtual bool ui_is_japanese(void*);
    virtual HostScene* active_scene(void*);
};

class HostStream : public Counted {
public:
    virtual void rewind(i32, void*);
    virtual void read_int(i32* value, void*);
    virtual void write_int(const i32* value, void*);
    static HostStream* take(i32 node);

    i32 node = -1;
    i32 position = 0;
};

class HostDialog : public Counted {
public:
    virtual void set_title(const char* title, void*);
    virtual void add_checkbox(i32 type, const char* label, i32, void*);
    virtual void set_checked(i32 item, bool checked, void*);
    virtual bool run_modal(i32, void*);
    virtual void is_checked(i32 item, bool* checked, void*);
    HostDialog* take() { return hand_out(this); }
};

class HostCamera : public Counted {
public:
    virtual Vec3 eye_position(i32, void*);
    HostCamera* take() { return hand_out(this); }
};

class HostCenterObject : public Counted {
public:
    virtual Vec3 center(void*);
    static HostCenterObject* take(i32 of);

    i32 node = -1;
};

// Owned by the scene: lent, never released.
class HostPartObject : public Counted {
public:
    virtual void set_matrix(const Mat4& matrix, void*);

    i32 node = -1;
};

class HostShape : public Counted {
public:
    virtual HostShape* first_child(void*);
    virtual HostShape* next_sibling(void*);
    virtual bool is_end(void*);
    virtual i32 kind(void*);
    virtual const char* shape_name(void*);
    virtual HostShape* parent(void*);
    virtual HostScene* scene(void*);
    virtual HostStream* find_stream(u32 id, void*);
    virtual HostStream* make_stream(u32 id, i32, i32, void*);
    virtual Mat4 local_to_world(void*);
    virtual Mat4 world_to_local(void*);
    virtual void set_transformation(const Mat4& matrix, void*);
    virtual HostCenterObject* center_object(void*);
    virtual HostPartObject* part_object(void*);
    virtual u32 part_handle(void*);
    virtual u32 handle(void*);
    virtual void move_after(u32 target, void*);

    i32 node = -1;  // -1: the end sentinel of a child list
};

class HostScene : public Counted {
public:
    virtual HostShape* root_part(void*);
    virtual HostDialog* new_dialog(i32, void*);
    virtual HostCamera* camera(void*);
    virtual Mat4 rotation_between(const Vec3& from, const Vec3& to, void*);
    virtual i32 selection_count(void*);
    virtual HostShape* selected_shape(i32 index, void*);
    virtual void set_current_part(u32 part_handle, void*);
    virtual HostShape* begin_part(const char* name, void*);
    virtual void end_part(void*);
    virtual void end_creation(void*);
    virtual Mat4 input_to_world(void*);
    virtual HostShape* create_shape_at(const char* name, const Vec3* position, u32 first, u32 second, void*);
    virtual u32 shape_from_handle(u32 shape_handle, void*);
    virtual void activate_shape(u32 shape_handle, void*);
    HostScene* take() { return hand_out(this); }
};
