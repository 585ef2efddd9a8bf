// The orbit the options ask for, kept as pictures step by step for the orbit
// page.
#pragma once

#include <cstdint>
#include <vector>

#include "run/events.h"
#include "pictures/orbit_page.h"

namespace ftv_cli {

// Adds the scene as it is now to frames, then the scene at each kept step of
// an orbit of that many steps, and passes each step on to then. A long orbit
// keeps every so many steps, so that the page stays small enough to load.
Progress orbit_recorder(PluginSession& session, std::uint32_t steps, std::vector<OrbitFrame>& frames, Progress then);

}  // namespace ftv_cli
