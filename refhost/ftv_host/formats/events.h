// Events: what the user and the host do to the plug-in, in order, as an
// event script or ftv-host's options give them; both run through run_event.
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
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "geometry/primitives.h"
#include "host_objects/dialog_script.h"
#include "formats/json_input.h"
#include "scene/node.h"

namespace ftv_cli {

class PluginSession;

struct Event {
    enum class Type { initialize, notify, orbit, menu, click, attribute, create } type = Type::notify;
    std::string where;        // file and JSON path, or the option that gave it
    std::string paths_where;  // where an unknown shape path is reported
    std::optional<ftv::Vec3> eye;
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

// Told after each step of an orbit, once the plug-in has been notified.
using Progress = std::function<void(std::uint32_t step, std::uint32_t steps)>;

// Runs one event; an unknown shape path raises InputError at paths_where.
// An orbit moves the eye around the target, about the vertical through it,
// in steps that together make one full turn, notifying the plug-in after
// each; progress, when set, is told each step.
void run_event(PluginSession& session, const Event& event, const Progress& progress = nullptr);

// The circle an orbit from this camera takes the eye along, in points.
std::vector<ftv::Vec3> orbit_path(const refhost::Camera& camera, std::uint32_t points);

}  // namespace ftv_cli
