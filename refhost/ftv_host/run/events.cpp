#include "run/events.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>
#include <iostream>

#include "formats/input_error.h"
#include "formats/nesting_limit.h"
#include "run/plugin_session.h"

namespace ftv_cli {

namespace {

const refhost::Node& shape_named(PluginSession& session, const Event& event, const std::string& path) {
    const refhost::Node* node = session.tree().find(path);
    if (node == nullptr) throw InputError(event.paths_where, "", "no shape at path \"" + path + "\"");
    return *node;
}

// Where the eye is after turning by angle from where it was, about the
// vertical through the target.
ftv::Vec3 turned_eye(const refhost::Camera& camera, double angle) {
    const double dx = camera.eye.x - camera.target.x;
    const double dz = camera.eye.z - camera.target.z;
    const double c = std::cos(angle), s = std::sin(angle);
    return {static_cast<float>(camera.target.x + dx * c + dz * s), camera.eye.y,
            static_cast<float>(camera.target.z - dx * s + dz * c)};
}

void orbit(PluginSession& session, std::uint32_t steps, const Progress& progress) {
    const refhost::Camera start = session.tree().camera_data();
    for (std::uint32_t step = 1; step <= steps; ++step) {
        // The last step lands exactly where the eye started.
        session.tree().set_eye(turned_eye(start, 2 * M_PI * (step % steps) / steps));
        session.notify();
        if (progress) progress(step, steps);
    }
}

// How deep parts nest below the root, counted without a stack per level.
int deepest_nesting(const refhost::SceneTree& tree) {
    int deepest = 0;
    std::vector<std::pair<const refhost::Node*, int>> pending{{&tree.root(), 0}};
    while (!pending.empty()) {
        const auto [part, depth] = pending.back();
        pending.pop_back();
        deepest = std::max(deepest, depth);
        for (const refhost::Node* child = part->first(); child != nullptr; child = child->next())
            if (child->is_part()) pending.emplace_back(child, depth + 1);
    }
    return deepest;
}

// The group creator deepens the scene by a level at most per group it makes,
// so a script of creates can nest parts deeper than any scene file may: past
// the limit every reader keeps to, the run is refused. The parts are counted
// again only once enough groups were made to reach the limit, so that a long
// script stays linear.
void check_nesting(PluginSession& session, const Event& event) {
    PluginSession::Nesting& n = session.nesting;
    if (n.counted >= 0 && ++n.groups_since < kMaxNesting - n.counted) return;
    n.counted = deepest_nesting(session.tree());
    n.groups_since = 0;
    if (n.counted > kMaxNesting) throw InputError(event.where, "", nested_too_deep() + " by the group creator");
}

}  // namespace

std::vector<Event> camera_path_events(const std::string& file, const std::vector<refhost::Camera>& keys) {
    if (keys.empty()) throw InputError(file, "", "no animation moves its camera, which --camera-path follows");
    if (keys.size() > kMaxCameraKeys)
        throw InputError(file, "", "its camera's animation has " + std::to_string(keys.size()) +
                                       " keys; --camera-path follows at most " + std::to_string(kMaxCameraKeys));
    std::vector<Event> events;
    for (const refhost::Camera& key : keys) {
        for (const ftv::Vec3& v : {key.eye, key.target})
            if (!std::isfinite(v.x) || !std::isfinite(v.y) || !std::isfinite(v.z))
                throw InputError(file, "", "its camera's animation moves the camera to a point that is not finite");
        Event event;
        event.where = event.paths_where = "--camera-path";
        event.eye = key.eye;
        event.target = key.target;
        events.push_back(event);
    }
    return events;
}

std::vector<ftv::Vec3> orbit_path(const refhost::Camera& camera, std::uint32_t points) {
    std::vector<ftv::Vec3> path;
    for (std::uint32_t i = 0; i < points; ++i) path.push_back(turned_eye(camera, 2 * M_PI * i / points));
    return path;
}

void run_event(PluginSession& session, const Event& event, const Progress& progress) {
    switch (event.type) {
        case Event::Type::initialize:
            session.initialize();
            break;
        case Event::Type::notify:
            if (event.eye) session.tree().set_eye(*event.eye);
            if (event.target) session.tree().set_camera({session.tree().camera_data().eye, *event.target});
            session.notify();
            if (progress) progress(1, 1);
            break;
        case Event::Type::orbit:
            orbit(session, event.steps, progress);
            break;
        case Event::Type::menu:
            session.menu(event.answer);
            break;
        case Event::Type::click:
            session.click(event.left ? refhost::kLeftButtonDown : refhost::kRightButtonDown);
            break;
        case Event::Type::attribute: {
            const refhost::Node& shape = shape_named(session, event, event.shape);
            session.attribute(shape, event.answer);
            if (!shape.is_part())
                std::cerr << error_line(event.paths_where + ": warning: " + event.shape + " is a " +
                                        (shape.kind == refhost::kMarker ? "marker" : "mesh") +
                                        ", not a part: the dialog ran, but the update pass turns only parts");
            break;
        }
        case Event::Type::create:
            if (event.selection) {
                std::vector<const refhost::Node*> selection;
                for (const std::string& path : *event.selection) selection.push_back(&shape_named(session, event, path));
                session.tree().set_selection(std::move(selection));
            }
            session.create(event.position, event.first, event.second);
            check_nesting(session, event);
            break;
    }
}

}  // namespace ftv_cli
