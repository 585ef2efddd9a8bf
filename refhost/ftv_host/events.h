// Event scripts: what the user and the host do to the plug-in, in order.
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
#include "json_input.h"
#include "scene.h"

namespace ftv_host {

class PluginSession;

struct Event {
    enum class Type { initialize, notify, orbit, menu, click, attribute, create } type = Type::notify;
    std::string where;  // file and JSON path, for errors found while running
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

// Moves the eye around the target, about the vertical through it, in steps
// that together make one full turn, notifying the plug-in after each.
// progress, when set, is told each step.
void orbit(PluginSession& session, std::uint32_t steps, void (*progress)(std::uint32_t, std::uint32_t) = nullptr);

// Runs one event; an unknown shape path raises InputError at the event's place.
void run_event(PluginSession& session, const Event& event);

}  // namespace ftv_host
