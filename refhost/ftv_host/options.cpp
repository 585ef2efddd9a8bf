#include "options.h"

#include <CLI/CLI.hpp>

#include "json_input.h"

namespace ftv_cli {

namespace {

refhost::DialogAnswer answer_named(const std::string& name) {
    if (name == "on") return {true, true};
    if (name == "off") return {true, false};
    if (name == "ok") return {true, std::nullopt};
    return {false, std::nullopt};
}

// Three numbers of an option, refused as a scene file would refuse them.
ftv::Vec3 vec3_argument(const char* option, const std::vector<std::string>& values) {
    return {float_argument(option, 0, values[0]), float_argument(option, 1, values[1]),
            float_argument(option, 2, values[2])};
}

Event event_of(Event::Type type, const std::string& option) {
    Event event;
    event.type = type;
    event.where = event.paths_where = option;
    return event;
}

}  // namespace

std::optional<int> read_options(int argc, char** argv, const std::string& folder, Options& options) {
    options.module_path = folder + "/Z_FaceToViewer.so";
    options.pane_path = folder + "/pane/Z_PnlHub.so";

    CLI::App app{"Runs the Z_FaceToViewer plug-in on a scene as its host would. Without a scene: a built-in demo "
                 "scene and an orbit of the camera around it. Order: initialisation, --menu, --click, --attribute, "
                 "--create, the --events script, --notify, --orbit."};
    app.add_option("-s,--scene", options.scene_file, "Scene file (JSON) to load instead of the demo scene");
    app.add_option("-e,--events", options.events_file, "Event script (JSON) to run after initialisation");
    auto* orbit_option =
        app.add_option("--orbit", options.orbit_steps,
                       "Move the eye around the target in N steps, notifying at each; also writes orbit.html")
            ->check(CLI::Range(1u, 100000u));
    app.add_option("--menu", options.menu, "Run the settings dialog, answered on, off, ok (as shown) or cancel")
        ->check(CLI::IsMember({"on", "off", "ok", "cancel"}));
    app.add_option("--click", options.clicks, "Click the pane: left or right (repeatable)")
        ->check(CLI::IsMember({"left", "right"}));
    app.add_option("--eye", options.eye, "Camera eye position X Y Z, set before anything runs")
        ->expected(3)
        ->type_name("NUMBER");
    app.add_option("--attribute", options.attribute_path, "Run the attribute dialog on the shape at this path");
    app.add_option("--attribute-answer", options.attribute_answer, "Its answer: on, off, ok (as shown) or cancel")
        ->check(CLI::IsMember({"on", "off", "ok", "cancel"}))
        ->capture_default_str();
    app.add_option("--create", options.create_at, "Run the group creator with input at X Y Z")
        ->expected(3)
        ->type_name("NUMBER");
    app.add_option("--select", options.selection, "Select the shape at this path for --create (repeatable)");
    app.add_flag("--notify", options.notify, "Send one update notification after the other events");
    app.add_option("-o,--out", options.out_dir, "Folder for scene.json, view.svg, top.svg and (with an orbit) orbit.html")
        ->capture_default_str();
    app.add_option("--module", options.module_path, "Plug-in module to load")->capture_default_str();
    app.add_option("--pane", options.pane_path, "Stand-in pane library to load")->capture_default_str();
    app.add_flag("!--no-pictures", options.pictures, "Write the scene file only");
    app.add_flag("--japanese", options.japanese, "Report a Japanese user interface to the plug-in");
    app.add_flag("--explain", options.explain,
                 "After the events, say for every part with the plug-in's stream whether it turns, and why not");
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        return app.exit(error);
    }
    options.orbit_given = orbit_option->count() > 0;
    return std::nullopt;
}

std::uint32_t orbit_steps(const Options& options) {
    return options.orbit_given ? options.orbit_steps : options.scene_file.empty() ? 36 : 0;
}

std::optional<ftv::Vec3> eye_option(const Options& options) {
    if (options.eye.empty()) return std::nullopt;
    return vec3_argument("--eye", options.eye);
}

std::vector<Event> events_of(const Options& options, std::vector<Event> script) {
    std::vector<Event> events{event_of(Event::Type::initialize, "")};
    if (!options.menu.empty()) {
        events.push_back(event_of(Event::Type::menu, "--menu"));
        events.back().answer = answer_named(options.menu);
    }
    for (const std::string& button : options.clicks) {
        events.push_back(event_of(Event::Type::click, "--click"));
        events.back().left = button == "left";
    }
    if (!options.attribute_path.empty()) {
        events.push_back(event_of(Event::Type::attribute, "--attribute"));
        events.back().shape = options.attribute_path;
        events.back().answer = answer_named(options.attribute_answer);
    }
    if (!options.create_at.empty()) {
        // Only its --select paths can be wrong: an error names that option.
        events.push_back(event_of(Event::Type::create, "--select"));
        events.back().position = vec3_argument("--create", options.create_at);
        if (!options.selection.empty()) events.back().selection = options.selection;
    }
    for (Event& event : script) events.push_back(std::move(event));
    if (options.notify) events.push_back(event_of(Event::Type::notify, "--notify"));
    if (orbit_steps(options) > 0) {
        events.push_back(event_of(Event::Type::orbit, "--orbit"));
        events.back().steps = orbit_steps(options);
    }
    return events;
}

}  // namespace ftv_cli
