// Running events on the plug-in: each event as the user or the host would
// cause it, an orbit as update notifications along a circle.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "formats/event_script.h"
#include "geometry/primitives.h"
#include "scene/node.h"

namespace ftv_cli {

class PluginSession;

// Told after each step of an orbit, or a notification, once the plug-in has been notified.
using Progress = std::function<void(std::uint32_t step, std::uint32_t steps)>;

// Runs one event; an unknown shape path raises InputError at paths_where.
// An orbit moves the eye around the target, about the vertical through it,
// in steps that together make one full turn, notifying the plug-in after
// each; progress, when set, is told each step (a notify event's one step too).
void run_event(PluginSession& session, const Event& event, const Progress& progress = nullptr);

// A notification per key of a model's animated camera (camera_path.h), its
// eye and target set first. InputError names the file when there is no key,
// a key is not finite, or there are more than kMaxCameraKeys.
constexpr std::size_t kMaxCameraKeys = 100000;
std::vector<Event> camera_path_events(const std::string& file, const std::vector<refhost::Camera>& keys);

// The circle an orbit from this camera takes the eye along, in points.
std::vector<ftv::Vec3> orbit_path(const refhost::Camera& camera, std::uint32_t points);

}  // namespace ftv_cli
