// Events: what the user and the host do to the plug-in, in order, as an
// event script or ftv-host's options give them (run/events.h runs them).
//
// {"events": [
//   {"event": "initialize"},
//   {"event": "notify", "eye": [x, y, z]},                    eye optional
//   {"event": "orbit", "steps": N},                           N notifications
//   {"event": "menu", "confirm": true, "checked": false},     checked optional
//   {"event": "click", "button": "left" | "right"},
//   {"event": "attribute", "shape": "/Path", "confirm": true, "checked": true},
//   {"event": "create", "position": [x, y, z], "first": 0, "second": 0,
//    "selection": ["/Path", ...]}                              all but position optional
// ]}
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "geometry/primitives.h"
#include "formats/json_input.h"
#include "host_objects/dialog_script.h"
#include "scene/node.h"

namespace ftv_cli {

struct Event {
    enum class Type { initialize, notify, orbit, menu, click, attribute, create } type = Type::notify;
    std::string where;        // file and JSON path, or the option that gave it
    std::string paths_where;  // where an unknown shape path is reported
    std::optional<ftv::Vec3> eye;
    std::optional<ftv::Vec3> target;  // --camera-path's keys only
    std::uint32_t steps = 0;
    refhost::DialogAnswer answer;
    bool left = true;
    std::string shape;
    ftv::Vec3 position = {0, 0, 0};
    std::uint32_t first = 0, second = 0;
    std::optional<std::vector<std::string>> selection;
};

std::vector<Event> read_events(const std::string& path);
std::vector<Event> read_events(const std::string& file, const Json& document);

}  // namespace ftv_cli
