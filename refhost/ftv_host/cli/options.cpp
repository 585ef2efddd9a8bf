#include "cli/options.h"

#include <CLI/CLI.hpp>
#include <iostream>

#include "cli/arguments.h"
#include "formats/input_error.h"

namespace ftv_cli {

namespace {

constexpr const char* kExitStatuses =
    "Exit status:\n"
    "  0  the run is done and its outputs are written (and after --help)\n"
    "  1  the command line, the scene file or the event file is wrong\n"
    "  3  the module or the pane library does not load, the plug-in misuses the host (a reference\n"
    "     not given back, a host object misused), an output cannot be written, or anything else fails\n"
    "After 1 or 3 no output is written, and every earlier one is as it was.";

refhost::DialogAnswer answer_named(const std::string& name) {
    if (name == "plain") return {true, true, false, false};
    if (name == "upright") return {true, true, true, false};
    if (name == "exact") return {true, true, false, true};
    if (name == "on") return {true, true};
    if (name == "off") return {true, false};
    if (name == "ok") return {true, std::nullopt};
    return {false, std::nullopt};
}

// Three numbers of an option.
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
                 "--create, the --events script, --notify, --orbit, --camera-path."};
    app.add_option("-s,--scene", options.scene_file,
                   "Scene to load instead of the demo scene: ftv-host's JSON, or a model in any format Assimp reads "
                   "(glTF, FBX, Collada, OBJ, 3DS, X, ...)");
    app.add_option("--tag", options.tags,
                   "Tag the model's part at PATH (repeatable): MODE 1 turns it toward the eye, 2 upright, 3 facing "
                   "exactly; it gives its transformation to its contents and gets a #center marker if it has none")
        ->type_name("PATH[=MODE]");
    app.add_option("--tag-groups", options.tag_groups,
                   "Tag every part of the model that holds a mesh and that the update pass reaches, as --tag does")
        ->expected(0, 1)
        ->default_str("1")
        ->type_name("[MODE]");
    app.add_option("--import-seconds", options.import_seconds,
                   "Time a model may take to read before it is refused (default: 10 plus 1 per MB of the file)")
        ->check(CLI::Range(0.001, 86400.0))
        ->type_name("SECONDS");
    app.add_option("-e,--events", options.events_file,
                   "Event script (JSON) to run after initialisation; may be a pipe, such as /dev/stdin");
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
    app.add_option("--attribute-answer", options.attribute_answer,
                   "Its answer: on (the other boxes as shown), plain (tag 1), upright (2), exact (3), off, ok (as "
                   "shown) or cancel")
        ->check(CLI::IsMember({"on", "plain", "upright", "exact", "off", "ok", "cancel"}))
        ->capture_default_str();
    app.add_option("--create", options.create_at, "Run the group creator with input at X Y Z")
        ->expected(3)
        ->type_name("NUMBER");
    app.add_option("--select", options.selection, "Select the shape at this path for --create (repeatable)");
    app.add_flag("--notify", options.notify, "Send one update notification after the other events");
    app.add_flag("--camera-path", options.camera_path,
                 "Move the camera as the model's own animation of it does, notifying at each key, last of all");
    app.add_option("-o,--out", options.out_dir,
                   "Folder for scene.json, scene.gltf, view.svg, top.svg and (with an orbit) orbit.html")
        ->capture_default_str();
    app.add_option("--module", options.module_path, "Plug-in module to load")->capture_default_str();
    app.add_option("--pane", options.pane_path, "Stand-in pane library to load")->capture_default_str();
    app.add_flag("!--no-pictures", options.pictures, "Write the scene files only");
    app.add_flag("--japanese", options.japanese, "Report a Japanese user interface to the plug-in");
    app.add_flag("--explain", options.explain,
                 "After the events, say for every part with the plug-in's stream whether it turns, and why not");
    app.footer(kExitStatuses);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        if (error.get_exit_code() == 0) return app.exit(error);  // --help
        // In the form of every input error: where, then what.
        std::string what = error.what();
        if (!what.empty() && what[0] != '-') what = "command line: " + what;
        std::cerr << error_line(what);
        return kInputFailed;
    }
    options.orbit_given = orbit_option->count() > 0;
    return std::nullopt;
}

ModelTags model_tags(const Options& options) {
    ModelTags tags;
    for (const std::string& text : options.tags) tags.paths.push_back(tag_argument(text));
    if (!options.tag_groups.empty()) tags.groups = mode_argument("--tag-groups", options.tag_groups);
    return tags;
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
