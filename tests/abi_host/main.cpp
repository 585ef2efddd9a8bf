// A host built with the platform's C++ compiler, driving the shipped module
// as the host application does. Usage: abi_host <path of Z_FaceToViewer.dll>.
// The stand-in pane library must be on the library search path.
#include "check.h"
#include "checks.h"

// Floating point is used without the C runtime's start-up.
extern "C" int _fltused = 0x9875;

extern "C" int start() {
    Exports exports;
    if (!load_plugin(exports)) ExitProcess(2);
    Components components;
    check_discovery(exports, components);
    if (components.main == nullptr || components.attribute == nullptr || components.creator == nullptr) {
        ExitProcess(finish());
    }
    check_slots(components);
    check_commands(components);
    check_fault_sweep(components);
    check(release(components.main) == 0 && release(components.attribute) == 0 && release(components.creator) == 0,
          "the last release of each component answers 0");
    ExitProcess(finish());
}
