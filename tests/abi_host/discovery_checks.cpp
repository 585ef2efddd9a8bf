// What the exports answer is checked by the module's own tests, which run on
// this same DLL under Wine; here they only make the components the later
// checks drive through the platform's ABI.
#include "check.h"
#include "checks.h"
#include "world.h"

void check_discovery(const Exports& e, Components& made) {
    reset_world();
    made = {};
    e.create_interface(&kPluginInterface, 0, &made.main, &app, nullptr);
    e.create_interface(&kAttributeInterface, 0, &made.attribute, &app, nullptr);
    e.create_interface(&kCreatorInterface, 0, &made.creator, &app, nullptr);
    check(made.main && made.attribute && made.creator, "create_interface makes the three components");
    check(ledger_balanced(), "discovery leaves the ledger balanced");
}
