// The groups of checks the platform-ABI host runs against the shipped module,
// in this order (the module's state carries from one to the next).
#pragma once

#include "plugin.h"

struct Components {
    void* main;
    void* attribute;
    void* creator;
};

// The three components made by create_interface.
void check_discovery(const Exports& exports, Components& made);
// Every operation of every component by slot; the reserved ones raise int 0.
void check_slots(const Components& components);
// The commands whose values cross the boundary by value (the host's turn
// results, the creator's input position), each ending with a balanced ledger.
void check_commands(const Components& components);
// Each host call of each command in turn raises the host's exception.
void check_fault_sweep(const Components& components);
