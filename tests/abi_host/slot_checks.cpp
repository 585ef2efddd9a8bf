#include "check.h"
#include "checks.h"
#include "world.h"

namespace {

enum Answer { kInt, kBool, kNothing, kRecord };

// One operation with a fixed answer: its slot, how many 32-bit arguments it
// takes before the reserved pointer, and what it answers. A record operation
// is handed a record first, writes value into byte offset and answers the
// record's address.
struct Fixed {
    int slot;
    int arguments;
    Answer answer;
    i32 value;
    int offset;
};

template <class R>
R call_with(void* c, int slot, int n, const u32* a) {
    switch (n) {
        case 0: return call_slot<R>(c, slot);
        case 1: return call_slot<R>(c, slot, a[0]);
        case 2: return call_slot<R>(c, slot, a[0], a[1]);
        case 3: return call_slot<R>(c, slot, a[0], a[1], a[2]);
        case 4: return call_slot<R>(c, slot, a[0], a[1], a[2], a[3]);
        case 6: return call_slot<R>(c, slot, a[0], a[1], a[2], a[3], a[4], a[5]);
        default: return call_slot<R>(c, slot, a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7], a[8]);
    }
}

void check_fixed(void* component, const Fixed& op, const char* name) {
    u8 record[32];
    memset(record, 0xEE, sizeof record);
    Vec3 position = {1.0f, 2.0f, 3.0f};
    u32 a[9] = {7, 8, 9, 10, 11, 12, 13, 14, 15};
    if (op.answer == kRecord) a[0] = reinterpret_cast<u32>(record);
    // The input handler (G6) takes its position by reference.
    if (op.slot == plugin_slot(54)) a[0] = reinterpret_cast<u32>(&position);
    bool ok = true;
    switch (op.answer) {
        case kInt: ok = call_with<i32>(component, op.slot, op.arguments, a) == op.value; break;
        case kBool: ok = call_with<bool>(component, op.slot, op.arguments, a) == (op.value != 0); break;
        case kNothing: call_with<void>(component, op.slot, op.arguments, a); break;
        case kRecord: {
            u8 expected[32];
            memset(expected, 0xEE, sizeof expected);
            expected[op.offset] = static_cast<u8>(op.value);
            ok = call_with<i32>(component, op.slot, op.arguments, a) == static_cast<i32>(a[0]) &&
                 same_bits(record, expected, sizeof record);
            break;
        }
    }
    if (!ok) printf("  %s, slot %d:\n", name, op.slot);
    checkf(ok, "fixed answer of slot %d", op.slot);
}

// The plugin_interface operations every component leaves at their defaults,
// but for the identifier and the generic ones, which differ per component.
void check_plugin_defaults(void* component, const char* name) {
    for (int op = 2; op <= 89; ++op) {
        const bool own = op == 26 || op == 28 || op == 29 || op == 32 || (op >= 49 && op <= 56) || op == 74;
        if (!own) check_fixed(component, {plugin_slot(op), 0, kInt, 0, 0}, name);
    }
    check_fixed(component, {plugin_slot(32), 0, kInt, 36088, 0}, name);
    check_fixed(component, {plugin_slot(74), 4, kNothing, 0, 0}, name);
}

// The generic operations G1 to G8 as plugin_interface and attribute_interface
// answer them; the creator's answers differ only for G2.
void check_generics(void* component, bool creator, const char* name) {
    const Fixed generics[] = {
        {plugin_slot(49), 0, kBool, 0, 0}, {plugin_slot(50), 0, kBool, creator, 0},
        {plugin_slot(51), 0, kBool, 0, 0}, {plugin_slot(52), 0, kBool, 0, 0},
        {plugin_slot(53), 2, kBool, 1, 0}, {plugin_slot(54), 3, kBool, 1, 0},
        {plugin_slot(55), 3, kBool, 1, 0}, {plugin_slot(56), 2, kBool, 1, 0},
    };
    for (const Fixed& op : generics) check_fixed(component, op, name);
}

// The defaults of operations 26 and 29 clear the result flag; 28 does nothing.
void check_handler_defaults(void* component) {
    bool flag = true;
    call_slot<void>(component, plugin_slot(26), &flag, static_cast<HostScene*>(nullptr));
    check(!flag, "default initialisation clears the flag");
    flag = true;
    call_slot<void>(component, plugin_slot(29), &flag, static_cast<HostScene*>(nullptr));
    check(!flag, "default update notification clears the flag");
    call_slot<void>(component, plugin_slot(28), 0, static_cast<HostScene*>(nullptr));
}

void check_reserved(void* component, int first, int last, bool own, const char* name) {
    int caught = 0;
    for (int op = first; op <= last; ++op) {
        try {
            call_slot<void>(component, own ? own_slot(op) : plugin_slot(op));
        } catch (int value) {
            if (value == 0) ++caught;
        } catch (...) {
        }
    }
    if (caught != last - first + 1) printf("  %s: reserved %d to %d\n", name, first, last);
    checkf(caught == last - first + 1, "reserved operations caught as int 0: %d", caught);
}

void check_counting(void* component, u32 id) {
    check(call_slot<u32>(component, plugin_slot(1)) == id, "identifier");
    void* out = &out;
    check(query_interface(component, kPluginInterface, &out) == static_cast<i32>(0x80004002u) && out == &out,
          "query interface answers E_NOINTERFACE and leaves the out pointer");
    check(add_ref(component) == 2 && add_ref(component) == 3, "add reference counts up from 1");
    check(release(component) == 2 && release(component) == 1, "release counts down");
    // Slot 4 is the one operation without the reserved pointer.
    using Query = bool(__thiscall*)(void*);
    check((*static_cast<Query**>(component))[4](component), "the query without arguments answers true");
}

}  // namespace

void check_slots(const Components& c) {
    reset_world();
    check_counting(c.main, 0x40A000C0);
    check_counting(c.attribute, 0x40A000C2);
    check_counting(c.creator, 0x40A000C3);
    check_plugin_defaults(c.main, "main");
    check_plugin_defaults(c.attribute, "attribute");
    check_plugin_defaults(c.creator, "creator");
    check_generics(c.main, false, "main");
    check_generics(c.attribute, false, "attribute");
    check_generics(c.creator, true, "creator");
    check_handler_defaults(c.attribute);
    check_handler_defaults(c.creator);

    const Fixed attribute[] = {
        {own_slot(2), 2, kBool, 0, 0},    {own_slot(3), 2, kBool, 0, 0},    {own_slot(4), 1, kRecord, 1, 0},
        {own_slot(5), 1, kRecord, 0, 0},  {own_slot(6), 1, kRecord, 0, 0},  {own_slot(7), 2, kRecord, 1, 0},
        {own_slot(8), 2, kNothing, 0, 0}, {own_slot(9), 1, kInt, 1, 0},     {own_slot(10), 3, kInt, 0, 0},
        {own_slot(11), 6, kRecord, 1, 24}, {own_slot(12), 2, kInt, 1, 0},   {own_slot(13), 9, kInt, 0, 0},
        {own_slot(14), 2, kInt, 0, 0},    {own_slot(15), 2, kInt, 0, 0},    {own_slot(16), 1, kRecord, 0, 0},
        {own_slot(17), 1, kBool, 0, 0},   {own_slot(18), 1, kRecord, 0, 0}, {own_slot(19), 1, kBool, 0, 0},
    };
    for (const Fixed& op : attribute) check_fixed(c.attribute, op, "attribute");
    const Fixed creator[] = {
        {own_slot(2), 0, kBool, 0, 0}, {own_slot(3), 0, kBool, 0, 0},    {own_slot(4), 0, kBool, 0, 0},
        {own_slot(5), 0, kBool, 0, 0}, {own_slot(6), 2, kBool, 1, 0},    {own_slot(7), 3, kBool, 1, 0},
        {own_slot(8), 3, kBool, 1, 0}, {own_slot(9), 2, kBool, 1, 0},    {own_slot(10), 1, kBool, 1, 0},
        {own_slot(11), 2, kNothing, 0, 0}, {own_slot(12), 0, kBool, 0, 0},
    };
    for (const Fixed& op : creator) check_fixed(c.creator, op, "creator");

    check_reserved(c.main, 90, 200, false, "main");
    check_reserved(c.attribute, 90, 200, false, "attribute");
    check_reserved(c.attribute, 20, 200, true, "attribute");
    check_reserved(c.creator, 90, 200, false, "creator");
    check_reserved(c.creator, 13, 200, true, "creator");
    check(ledger_balanced(), "slot calls leave the ledger balanced");
}
