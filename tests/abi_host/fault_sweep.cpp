// Each command runs once for every host call it makes, with that call raising
// the host's own exception (HostFault). The host catches it; whatever the
// plug-in held at that moment must have been released on the way, and the
// plug-in's exception registration taken off the thread's chain.
#include "check.h"
#include "checks.h"
#include "command_scenes.h"

namespace {

enum Command { kInitialize, kSettings, kUpdate, kClick, kAttribute, kCreate };

struct Sweep {
    Command command;
    const char* name;
};

// Sets the scene up and runs the command; the fault is chosen after the set-up.
void run(const Components& c, Command command, i32 fault) {
    reset_world();
    world.dialog_confirms = world.dialog_ticks[0] = world.dialog_ticks[1] = true;
    switch (command) {
        case kInitialize: world.fault_at = world.calls + fault; initialize(c.main); break;
        case kSettings: world.fault_at = world.calls + fault; settings_dialog(c.main); break;
        case kUpdate:
            build_facing_scene();
            set_stream(0, 1);
            initialize(c.main);
            world.fault_at = world.calls + fault;
            notify(c.main);
            break;
        case kClick: world.fault_at = world.calls + fault; click(kLeftButtonDown); break;
        case kAttribute: {
            const i32 part = add_node(0, "Plain", kPart);
            world.fault_at = world.calls + fault;
            attribute_command(c.attribute, part);
            break;
        }
        case kCreate:
            build_creation_scene();
            input(c.creator, {1.0f, 2.0f, 3.0f}, 0, 0);
            world.fault_at = world.calls + fault;
            create(c.creator);
            break;
    }
}

void sweep(const Components& c, const Sweep& s) {
    void* const chain = exception_chain();
    i32 raised = 0;
    bool balanced = true, chain_kept = true, completed = false;
    for (i32 fault = 1; fault <= 200 && !completed; ++fault) {
        try {
            run(c, s.command, fault);
            completed = true;
        } catch (HostFault& f) {
            if (f.call == world.fault_at) ++raised;
        }
        balanced = balanced && ledger_balanced();
        chain_kept = chain_kept && exception_chain() == chain;
        if (!balanced) {
            printf("  %s: unbalanced after a fault at host call %d\n", s.name, fault);
            break;
        }
    }
    printf("  %s: %d host calls raised in turn\n", s.name, raised);
    check(completed && raised > 0, s.name);
    check(balanced, "every fault leaves the ledger balanced");
    check(chain_kept, "every fault leaves the exception chain as it was");
}

}  // namespace

void check_fault_sweep(const Components& c) {
    const Sweep sweeps[] = {
        {kInitialize, "initialisation"}, {kSettings, "settings dialog"}, {kUpdate, "update pass"},
        {kClick, "pane click"},          {kAttribute, "attribute command"}, {kCreate, "creation command"},
    };
    for (const Sweep& s : sweeps) sweep(c, s);
}
