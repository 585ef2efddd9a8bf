#include "check.h"
#include "checks.h"
#include "fixed_answers.h"
#include "world.h"

namespace {

using fixed_answers::Answer;
using fixed_answers::Component;
using fixed_answers::Of;
using fixed_answers::Operation;

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

int slot_of(Of of, int number) { return of == Of::plugin ? plugin_slot(number) : own_slot(number); }

void check_fixed(void* component, const Operation& op, const char* name) {
    u8 record[32];
    memset(record, 0xEE, sizeof record);
    Vec3 position = {1.0f, 2.0f, 3.0f};
    u32 a[9] = {7, 8, 9, 10, 11, 12, 13, 14, 15};
    if (op.answer == Answer::record) a[0] = reinterpret_cast<u32>(record);
    if (op.position_first) a[0] = reinterpret_cast<u32>(&position);
    const int slot = slot_of(op.of, op.number);
    bool ok = true;
    switch (op.answer) {
        case Answer::integer: ok = call_with<i32>(component, slot, op.arguments, a) == op.value; break;
        case Answer::boolean: ok = call_with<bool>(component, slot, op.arguments, a) == (op.value != 0); break;
        case Answer::nothing: call_with<void>(component, slot, op.arguments, a); break;
        case Answer::record: {
            u8 expected[32];
            memset(expected, 0xEE, sizeof expected);
            expected[op.offset] = static_cast<u8>(op.value);
            ok = call_with<i32>(component, slot, op.arguments, a) == static_cast<i32>(a[0]) &&
                 same_bits(record, expected, sizeof record);
            break;
        }
    }
    if (!ok) printf("  %s, slot %d:\n", name, slot);
    checkf(ok, "fixed answer of slot %d", slot);
}

// Every operation but the handlers answers as tabled (fixed_answers.h);
// every reserved one is caught as int 0.
void check_operations(void* component, Component kind, const char* name) {
    const Of kinds[] = {Of::plugin, Of::own};
    for (Of of : kinds) {
        const int first_reserved = fixed_answers::first_reserved(kind, of);
        for (int number = 2; number < first_reserved; ++number) {
            Operation op{};
            if (fixed_answer(kind, of, number, op)) check_fixed(component, op, name);
        }
        if (first_reserved == 0) continue;
        int caught = 0;
        for (int number = first_reserved; number <= 200; ++number) {
            try {
                call_slot<void>(component, slot_of(of, number));
            } catch (int value) {
                if (value == 0) ++caught;
            } catch (...) {
            }
        }
        if (caught != 200 - first_reserved + 1) printf("  %s: reserved %d to 200\n", name, first_reserved);
        checkf(caught == 200 - first_reserved + 1, "reserved operations caught as int 0: %d", caught);
    }
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
    check_operations(c.main, Component::main, "main");
    check_operations(c.attribute, Component::attribute, "attribute");
    check_operations(c.creator, Component::creator, "creator");
    check_handler_defaults(c.attribute);
    check_handler_defaults(c.creator);
    check(ledger_balanced(), "slot calls leave the ledger balanced");
}
