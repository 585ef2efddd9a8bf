#include "formats/events.h"

#include <cmath>
#include <iostream>

#include "run/plugin_session.h"

namespace ftv_cli {

namespace {

constexpr std::uint32_t kMaxSteps = 100000;

refhost::DialogAnswer answer_at(const JsonAt& at) {
    refhost::DialogAnswer answer;
    answer.confirm = at.member("confirm").boolean();
    if (at.has("checked")) answer.checked = at.member("checked").boolean();
    if (at.has("upright")) answer.second = at.member("upright").boolean();
    if (at.has("exact")) answer.third = at.member("exact").boolean();
    return answer;
}

Event event_at(const std::string& file, const JsonAt& at) {
    Event e;
    e.where = file + ": " + at.path();
    const std::string type = at.member("event").string();
    if (type == "initialize") {
        at.allow_only({"event"});
        e.type = Event::Type::initialize;
    } else if (type == "notify") {
        at.allow_only({"event", "eye"});
        e.type = Event::Type::notify;
        if (at.has("eye")) e.eye = at.member("eye").vec3();
    } else if (type == "orbit") {
        at.allow_only({"event", "steps"});
        e.type = Event::Type::orbit;
        e.steps = static_cast<std::uint32_t>(at.member("steps").integer(1, kMaxSteps));
    } else if (type == "menu") {
        at.allow_only({"event", "confirm", "checked"});
        e.type = Event::Type::menu;
        e.answer = answer_at(at);
    } else if (type == "click") {
        at.allow_only({"event", "button"});
        e.type = Event::Type::click;
        const JsonAt button = at.member("button");
        const std::string name = button.string();
        if (name != "left" && name != "right") button.fail("button \"" + name + "\" is not left or right");
        e.left = name == "left";
    } else if (type == "attribute") {
        at.allow_only({"event", "shape", "confirm", "checked", "upright", "exact"});
        e.type = Event::Type::attribute;
        e.shape = at.member("shape").string();
        e.paths_where = e.where + ": shape";
        e.answer = answer_at(at);
    } else if (type == "create") {
        at.allow_only({"event", "position", "first", "second", "selection"});
        e.type = Event::Type::create;
        e.position = at.member("position").vec3();
        if (at.has("first")) e.first = static_cast<std::uint32_t>(at.member("first").integer(0, UINT32_MAX));
        if (at.has("second")) e.second = static_cast<std::uint32_t>(at.member("second").integer(0, UINT32_MAX));
        e.paths_where = e.where + ": selection";
        if (at.has("selection")) {
            const JsonAt selection = at.member("selection");
            e.selection.emplace();
            for (std::size_t i = 0; i < selection.size(); ++i) e.selection->push_back(selection.at(i).string());
        }
    } else {
        at.member("event").fail("unknown event \"" + type +
                                "\" (initialize, notify, orbit, menu, click, attribute, create)");
    }
    return e;
}

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

}  // namespace

std::vector<Event> read_events(const std::string& file, const Json& document) {
    const JsonAt top(file, document);
    top.allow_only({"events"});
    const JsonAt list = top.member("events");
    std::vector<Event> events;
    for (std::size_t i = 0; i < list.size(); ++i) events.push_back(event_at(file, list.at(i)));
    return events;
}

std::vector<Event> read_events(const std::string& path) { return read_events(path, read_json_file(path)); }

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
            session.notify();
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
                std::cerr << "ftv-host: " << event.paths_where << ": warning: " << event.shape << " is a "
                          << (shape.kind == refhost::kMarker ? "marker" : "mesh")
                          << ", not a part: the dialog ran, but the update pass turns only parts\n";
            break;
        }
        case Event::Type::create:
            if (event.selection) {
                std::vector<const refhost::Node*> selection;
                for (const std::string& path : *event.selection) selection.push_back(&shape_named(session, event, path));
                session.tree().set_selection(std::move(selection));
            }
            session.create(event.position, event.first, event.second);
            break;
    }
}

}  // namespace ftv_cli
