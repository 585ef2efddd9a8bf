#include "module/module_state.h"

namespace ftv {

namespace {
ModuleState state;
}  // namespace

ModuleState& module_state() { return state; }

}  // namespace ftv
